#include "mif/mid_file.h"

#include <algorithm>

#include "base/line_reader.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "base/trim.h"

namespace parquill {

void FormatMidLine(std::string& line, int region, std::string_view chiban) {
  line.assign(std::to_string(region));
  line.push_back(',');
  if (chiban.find_first_of(",\"") == std::string_view::npos) {
    line.append(chiban);
    return;
  }
  line.push_back('"');
  for (char c : chiban) {
    if (c == '"') line.push_back('"');
    line.push_back(c);
  }
  line.push_back('"');
}

namespace {

// The text of a field in double quotes at the start of `field` (a doubled
// double quote inside stands for one); false when the quotes do not close.
bool QuotedField(std::string_view field, std::string& text) {
  text.clear();
  for (std::size_t i = 1; i < field.size(); ++i) {
    if (field[i] != '"') {
      text.push_back(field[i]);
    } else if (i + 1 < field.size() && field[i + 1] == '"') {
      text.push_back('"');
      ++i;
    } else {
      return true;
    }
  }
  return false;
}

}  // namespace

void ReadMidChibans(const std::string& midPath, std::string_view delimiter,
                    const std::function<bool(std::string chiban)>& onLot) {
  LineReader mid(midPath);
  std::string_view raw;
  std::string quoted;
  while (mid.Next(raw)) {
    if (raw.empty()) throw RuntimeError(kSubscriptOutOfRange);  // no field at all
    // Cut in decoded text, so a delimiter byte inside a two-byte character
    // never splits it.
    const std::string text = DecodeText(raw, TextEncoding::kCp932);
    const std::string_view line = text;
    const std::size_t cut = delimiter.empty() ? std::string_view::npos : line.find(delimiter);
    if (cut == 0) continue;  // the region's ID is empty: the line takes no lot
    if (cut == std::string_view::npos) throw RuntimeError(kSubscriptOutOfRange);
    const std::string_view rest = line.substr(cut + delimiter.size());
    const std::string_view field = TrimBlanks(rest);
    std::string lot;
    if (field.starts_with('"') && QuotedField(field, quoted)) {
      lot = quoted;  // blanks inside the quotes stay
    } else {
      lot = TrimBlanks(rest.substr(0, rest.find(delimiter)));
    }
    lot.erase(std::remove(lot.begin(), lot.end(), '"'), lot.end());
    if (!onLot(std::move(lot))) return;
  }
}

}  // namespace parquill
