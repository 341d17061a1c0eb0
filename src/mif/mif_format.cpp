#include "mif/mif_format.h"

#include <charconv>

#include "text/text_file_writer.h"

namespace parquill {
namespace {

// Enough for the widest finite double in fixed notation with five decimals.
constexpr std::size_t kCoordinateRoom = 330;

// Appends the coordinate text to `out`; to_chars rounds the binary value
// correctly and never depends on the locale.
void AppendCoordinate(std::string& out, double value) {
  char text[kCoordinateRoom];
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 5);
  std::string_view written(text, error == std::errc() ? static_cast<std::size_t>(end - text) : 0);
  if (!written.empty() && written.front() == '-' &&
      written.find_first_not_of("-0.") == std::string_view::npos) {
    written.remove_prefix(1);  // "-0.00000" reads as a plain zero
  }
  out.append(written);
}

}  // namespace

void WriteMifHeader(TextFileWriter& mif) {
  for (std::string_view line : kMifHeaderLines) mif.WriteLine(line);
}

std::string FormatMifCoordinate(double value) {
  std::string text;
  AppendCoordinate(text, value);
  return text;
}

std::string MifPointCountLine(int count) { return " " + std::to_string(count) + " "; }

std::string MifPointLine(double x, double y) {
  std::string line;
  FormatMifPointLine(line, x, y);
  return line;
}

void FormatMifPointLine(std::string& line, double x, double y) {
  line.clear();
  AppendCoordinate(line, x);
  line += ' ';
  AppendCoordinate(line, y);
}

}  // namespace parquill
