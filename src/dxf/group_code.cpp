#include "dxf/group_code.h"

#include <cmath>

#include "base/number_text.h"

namespace parquill {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether a character that follows the digits of a number leaves the number
// as it is: the number rule would skip a blank, a tab or a line feed and read
// on, and would take an exponent.
constexpr bool EndsNumber(char c) {
  return !IsDigit(c) && c != 'e' && c != 'E' && c != ' ' && c != '\t' && c != '\n';
}

// The most digits a plain number may have. Up to 15 digits a decimal number
// that is not whole stays apart from every whole number once read as a double,
// so its value is whole exactly when its decimals are all zero.
constexpr int kMostPlainDigits = 15;
constexpr int kMostWholeDigits = 9;

// Reads digits, then at most one point and decimals, then the end of the line
// or a character that ends the number; false for any other shape.
bool ReadPlainWholePart(std::string_view line, int& whole, bool& zeroDecimals) {
  std::size_t at = 0;
  int value = 0;
  while (at < line.size() && IsDigit(line[at])) {
    if (at == kMostWholeDigits) return false;
    value = value * 10 + (line[at] - '0');
    ++at;
  }
  if (at == 0) return false;
  const std::size_t wholeDigits = at;
  zeroDecimals = true;
  if (at < line.size() && line[at] == '.') {
    ++at;
    const std::size_t first = at;
    while (at < line.size() && IsDigit(line[at])) {
      zeroDecimals = zeroDecimals && line[at] == '0';
      ++at;
    }
    if (wholeDigits + (at - first) > kMostPlainDigits) return false;
    // A second point ends the number like any other character.
    if (at < line.size() && line[at] != '.' && !EndsNumber(line[at])) return false;
  } else if (at < line.size() && !EndsNumber(line[at])) {
    return false;
  }
  whole = value;
  return true;
}

}  // namespace

double GroupCodeValue(std::string_view line) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (line.size() == 3 && line[0] == ' ' && (line[1] == ' ' || digit(line[1])) && digit(line[2])) {
    const int tens = line[1] == ' ' ? 0 : line[1] - '0';
    return tens * 10 + (line[2] - '0');
  }
  // A line that begins with a letter ("AcDbText", a handle such as "B1")
  // holds no number: it reads as 0.
  const char first = line.empty() ? '\0' : line.front();
  if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) return 0;
  return NumberFromText(line);
}

int group_code_detail::WholeCodeOfOtherLine(std::string_view line) {
  if (!line.empty() && IsLetter(line.front())) return 0;
  int whole = 0;
  bool zeroDecimals = true;
  if (ReadPlainWholePart(line, whole, zeroDecimals)) return zeroDecimals ? whole : kNoWholeCode;
  const double value = GroupCodeValue(line);
  if (!(value >= 0 && value <= 999'999'999) || value != std::floor(value)) return kNoWholeCode;
  return static_cast<int>(value);
}

}  // namespace parquill
