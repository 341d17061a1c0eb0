#include "sima/kokudo_records.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace parquill::kokudo {
namespace {

constexpr std::size_t kNumberFieldWidth = 5;
constexpr int kSignificantDigits = 15;

void AppendInteger(std::string& line, int number) {
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, number);
  line.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

// The number field of `number`: right-aligned in five characters.
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

// The record code, the number field and the point name ("K" + number
// without a name of its own), each followed by ",": the start of every A01
// and B01 line.
static void AppendPointHead(std::string& line, std::string_view record, int pointNumber,
                            std::string_view pointName) {
  line.append(record);
  line.push_back(',');
  AppendNumberField(line, pointNumber);
  if (pointName.empty()) {
    line.append(",K");
    AppendInteger(line, pointNumber);
  } else {
    line.push_back(',');
    line.append(pointName);
  }
  line.push_back(',');
}

static void AppendCoordinates(std::string& line, double x, double y) {
  AppendCoordinateText(line, x);
  line.push_back(',');
  AppendCoordinateText(line, y);
  line.append(",,");
}

void AppendSimaA01(std::string& line, int pointNumber, std::string_view pointName, double x,
                   double y) {
  AppendPointHead(line, "A01", pointNumber, pointName);
  AppendCoordinates(line, x, y);
}

void AppendSimaB01(std::string& line, int pointNumber, std::string_view pointName) {
  AppendPointHead(line, "B01", pointNumber, pointName);
}

std::string SimaChiban(std::string_view chiban) {
  std::string written;
  written.reserve(chiban.size());
  for (char c : chiban) {
    if (c == ',') {
      written += "，";
    } else if (c != '"') {
      written.push_back(c);
    }
  }
  return written;
}

void AppendSimaD00(std::string& line, int regionNumber, std::string_view chiban,
                   std::int16_t closureCode) {
  line.append("D00,");
  AppendNumberField(line, regionNumber);
  line.push_back(',');
  line.append(chiban);
  line.push_back(',');
  AppendInteger(line, closureCode);
  line.push_back(',');
}

std::string SimaD00(int regionNumber, std::string_view chiban, std::int16_t closureCode) {
  std::string line;
  AppendSimaD00(line, regionNumber, chiban, closureCode);
  return line;
}

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
  // The usual coordinate, below 10^9 with at most five decimals (as every one
  // the MIF file gives): its digits are those of the whole number value × 10^5,
  // at most 14, so the 15 significant digits below give the same text.
  const double scaled = std::nearbyint(std::fabs(value) * 1e5);
  if (std::fabs(value) < 1e9 && scaled / 1e5 == std::fabs(value)) {
    const auto units = static_cast<std::int64_t>(scaled);
    if (value < 0) line.push_back('-');
    if (units >= 100000) line.append(std::to_string(units / 100000));
    std::int64_t decimals = units % 100000;
    if (decimals == 0) return;
    char text[6] = {'.', '0', '0', '0', '0', '0'};
    for (int i = 5; i >= 1; --i, decimals /= 10) text[i] = static_cast<char>('0' + decimals % 10);
    int length = 6;
    while (text[length - 1] == '0') --length;
    line.append(text, static_cast<std::size_t>(length));
    return;
  }
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

  if (negative) line.push_back('-');
  if (exponent < 0) {
    line.push_back('.');
    line.append(static_cast<std::size_t>(-exponent - 1), '0');
    line.append(digits);
    return;
  }
  std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) {
    line.append(digits);
    line.append(whole - digits.size(), '0');
  } else {
    line.append(digits, 0, whole);
    line.push_back('.');
    line.append(digits, whole, std::string::npos);
  }
}

}  // namespace parquill::kokudo
