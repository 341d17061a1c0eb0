#include "dxf/mtext_cleaner.h"

#include "base/trim.h"

namespace parquill {
namespace {

std::string_view CleanParagraph(std::string_view paragraph) {
  if (auto semicolon = paragraph.rfind(';'); semicolon != std::string_view::npos) {
    paragraph.remove_prefix(semicolon + 1);
  }
  if (auto brace = paragraph.rfind('}'); brace != std::string_view::npos) {
    paragraph = paragraph.substr(0, brace);
  }
  return TrimBlanks(paragraph);
}

}  // namespace

std::string CleanMText(std::string_view text) {
  constexpr std::string_view kParagraphBreak = "\\P";
  std::string cleaned;
  if (text.empty()) return cleaned;
  std::size_t start = 0;
  for (;;) {
    std::size_t stop = text.find(kParagraphBreak, start);
    std::string_view paragraph =
        text.substr(start, stop == std::string_view::npos ? stop : stop - start);
    if (start > 0) cleaned += ' ';
    cleaned += CleanParagraph(paragraph);
    if (stop == std::string_view::npos) break;
    start = stop + kParagraphBreak.size();
  }
  return cleaned;
}

}  // namespace parquill
