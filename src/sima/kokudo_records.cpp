#include "sima/kokudo_records.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <system_error>

#include "text/trim.h"

namespace parquill::kokudo {
namespace {

constexpr std::size_t kNumberFieldWidth = 5;
constexpr int kSignificantDigits = 15;

void AppendInteger(std::string& line, int number) {
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, number);
  line.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

// The number field of `number`, as SimaNo gives it for the number's text.
void AppendNumberField(std::string& line, int number) {
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, number);
  const auto length = static_cast<std::size_t>(result.ptr - digits);
  if (length < kNumberFieldWidth) line.append(kNumberFieldWidth - length, ' ');
  line.append(digits, length);
}

}  // namespace

std::string SimaG00() { return "G00,01,オルベックＬｏｔｗｅａｖｅｒデータ"; }

void AppendSimaZ00(std::string& line, std::string_view s) {
  line.append("Z00,/");
  line.append(s);
  line.append("/,");
}

std::string SimaZ00(std::string_view s) {
  std::string line;
  AppendSimaZ00(line, s);
  return line;
}

std::string SimaTag(std::string_view s) {
  std::string line(s);
  line.push_back(',');
  return line;
}

std::string SimaNo(std::string_view s) {
  std::string_view text = TrimBlanks(s);
  std::string field;
  if (text.size() < kNumberFieldWidth) field.assign(kNumberFieldWidth - text.size(), ' ');
  field.append(text);
  return field;
}

void AppendSimaA01(std::string& line, std::int16_t pointNumber, double x, double y) {
  line.append("A01,");
  AppendNumberField(line, pointNumber);
  line.append(",K");
  AppendInteger(line, pointNumber);
  line.push_back(',');
  AppendCoordinateText(line, x);
  line.push_back(',');
  AppendCoordinateText(line, y);
  line.append(",,");
}

std::string SimaA01(std::int16_t pointNumber, double x, double y) {
  std::string line;
  AppendSimaA01(line, pointNumber, x, y);
  return line;
}

void AppendSimaB01(std::string& line, std::int16_t pointNumber) {
  line.append("B01,");
  AppendNumberField(line, pointNumber);
  line.append(",K");
  AppendInteger(line, pointNumber);
  line.push_back(',');
}

std::string SimaB01(std::int16_t pointNumber) {
  std::string line;
  AppendSimaB01(line, pointNumber);
  return line;
}

void AppendSimaD00(std::string& line, std::int16_t regionNumber, std::string_view lotNumber,
                   std::int16_t closureCode) {
  line.append("D00,");
  AppendNumberField(line, regionNumber);
  line.push_back(',');
  line.append(lotNumber);
  line.push_back(',');
  AppendInteger(line, closureCode);
  line.push_back(',');
}

std::string SimaD00(std::int16_t regionNumber, std::string_view lotNumber,
                    std::int16_t closureCode) {
  std::string line;
  AppendSimaD00(line, regionNumber, lotNumber, closureCode);
  return line;
}

namespace {

std::string GeneralCoordinateText(double value);

// The text of a value below 10^9 that is a number of at most five decimals
// (as every coordinate read from the MIF file is after rounding): its 15
// significant digits are that number's own digits. False for other values.
bool PlainCoordinateText(double value, std::string& out) {
  if (!(std::fabs(value) < 1e9)) return false;
  const double units = std::nearbyint(value * 1e5);
  if (units / 1e5 != value) return false;
  auto magnitude = static_cast<std::uint64_t>(std::fabs(units));
  std::uint64_t whole = magnitude / 100000;
  std::uint64_t fraction = magnitude % 100000;
  if (value < 0) out.push_back('-');
  if (whole != 0) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, whole);
    out.append(digits, static_cast<std::size_t>(result.ptr - digits));
  }
  if (fraction != 0) {
    char decimals[6] = {'.'};
    int last = 5;
    for (int i = 5; i >= 1; --i, fraction /= 10)
      decimals[i] = static_cast<char>('0' + fraction % 10);
    while (decimals[last] == '0') --last;
    out.append(decimals, static_cast<std::size_t>(last + 1));
  }
  return true;
}

}  // namespace

std::string CoordinateText(double value) {
  std::string text;
  AppendCoordinateText(text, value);
  return text;
}

void AppendCoordinateText(std::string& line, double value) {
  if (value == 0) {  // negative zero too
    line.push_back('0');
    return;
  }
  const std::size_t before = line.size();
  if (PlainCoordinateText(value, line)) return;
  line.resize(before);
  line.append(GeneralCoordinateText(value));
}

namespace {

std::string GeneralCoordinateText(double value) {
  // The value with 15 significant digits, "d.dddddddddddddde±x", whatever the
  // locale; then the point is moved to its place in plain decimal text.
  char scientific[64];
  auto result = std::to_chars(scientific, scientific + sizeof scientific, value,
                              std::chars_format::scientific, kSignificantDigits - 1);
  std::string_view text(scientific, static_cast<std::size_t>(result.ptr - scientific));
  bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::size_t e = text.find('e');
  int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  std::string digits;
  digits.push_back(text[0]);
  digits.append(text.substr(2, e - 2));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out;
  if (negative) out.push_back('-');
  if (exponent < 0) {
    out.push_back('.');
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits);
    return out;
  }
  std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) {
    out.append(digits);
    out.append(whole - digits.size(), '0');
  } else {
    out.append(digits, 0, whole);
    out.push_back('.');
    out.append(digits, whole, std::string::npos);
  }
  return out;
}

}  // namespace

}  // namespace parquill::kokudo
