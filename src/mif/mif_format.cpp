#include "mif/mif_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "text/text_file_writer.h"

namespace parquill {
namespace {

// Enough for the widest finite double in fixed notation with five decimals.
constexpr std::size_t kCoordinateRoom = 330;

// Appends the text of a coordinate below 10^9 whose five-decimal rounding
// is plain: value × 10^5 is then computed within 0.008 of its true value, so
// unless it lies near a half the nearest whole number is the true rounding.
// False (nothing appended) for the other values.
bool AppendPlainCoordinate(std::string& out, double value) {
  if (!(std::fabs(value) < 1e9)) return false;
  const double scaled = std::fabs(value) * 1e5;
  const double whole = std::nearbyint(scaled);
  if (std::fabs(std::fabs(scaled - whole) - 0.5) < 0.02) return false;
  auto units = static_cast<std::uint64_t>(whole);
  char text[32];
  char* p = text + sizeof text;
  for (int i = 0; i < 5; ++i, units /= 10) *--p = static_cast<char>('0' + units % 10);
  *--p = '.';
  do {
    *--p = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units != 0);
  if (value < 0 && whole != 0) *--p = '-';  // a rounded zero is written without its sign
  out.append(p, static_cast<std::size_t>(text + sizeof text - p));
  return true;
}

// Appends the coordinate text to `out`; to_chars rounds the binary value
// correctly and never depends on the locale.
void AppendCoordinate(std::string& out, double value) {
  if (AppendPlainCoordinate(out, value)) return;
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

std::string MifPointCountLine(int count) {
  std::string line(1, ' ');
  line.append(std::to_string(count));
  line.push_back(' ');
  return line;
}

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
