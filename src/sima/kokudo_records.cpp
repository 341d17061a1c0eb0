#include "sima/kokudo_records.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

namespace {

// The digits of a point number from 1 to 99999, and the number field they make.
struct PointNumberText {
  explicit PointNumberText(int number) {
    char* p = field + kNumberFieldWidth;
    do {
      *--p = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number != 0);
    length = static_cast<std::size_t>(field + kNumberFieldWidth - p);
    while (p != field) *--p = ' ';
  }
  static bool Fits(int number) { return number >= 1 && number <= 99999; }
  std::string_view digits() const { return {field + kNumberFieldWidth - length, length}; }

  char field[kNumberFieldWidth];
  std::size_t length = 0;
};

// "XYZ," + number field + ",K" + digits + ",", written at `out`; the end.
char* WritePointHead(char* out, std::string_view code, const PointNumberText& number) {
  std::memcpy(out, code.data(), 3);
  out[3] = ',';
  std::memcpy(out + 4, number.field, kNumberFieldWidth);
  out += 4 + kNumberFieldWidth;
  *out++ = ',';
  *out++ = 'K';
  std::memcpy(out, number.digits().data(), number.length);
  out += number.length;
  *out++ = ',';
  return out;
}

bool WritePlainCoordinate(char*& out, double value);

}  // namespace

// The record code, the number field and the point name, each followed by
// ",": the start of every A01 and B01 line, for numbers the quick path
// does not take.
static void AppendPointHead(std::string& line, std::string_view record, std::int16_t pointNumber) {
  line.append(record);
  line.push_back(',');
  AppendNumberField(line, pointNumber);
  line.append(",K");
  AppendInteger(line, pointNumber);
  line.push_back(',');
}

void AppendSimaA01(std::string& line, std::int16_t pointNumber, double x, double y) {
  if (PointNumberText::Fits(pointNumber)) {
    // Room for the head, two coordinates of at most 17 characters and ",,".
    char text[64];
    char* out = WritePointHead(text, "A01", PointNumberText(pointNumber));
    if (WritePlainCoordinate(out, x)) {
      *out++ = ',';
      if (WritePlainCoordinate(out, y)) {
        *out++ = ',';
        *out++ = ',';
        line.append(text, static_cast<std::size_t>(out - text));
        return;
      }
    }
  }
  AppendPointHead(line, "A01", pointNumber);
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
  if (PointNumberText::Fits(pointNumber)) {
    char text[32];
    char* end = WritePointHead(text, "B01", PointNumberText(pointNumber));
    line.append(text, static_cast<std::size_t>(end - text));
    return;
  }
  AppendPointHead(line, "B01", pointNumber);
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

// The text of a value below 10^9 that is a number of at most five decimals
// (as every coordinate read from the MIF file is after rounding): its 15
// significant digits are that number's own digits. Writes at most 16
// characters at `out` and moves it on; false (nothing written) for other
// values. Zero is "0".
bool WritePlainCoordinate(char*& out, double value) {
  if (!(std::fabs(value) < 1e9)) return false;
  const double units = std::nearbyint(value * 1e5);
  if (units / 1e5 != value) return false;
  if (value == 0) {  // negative zero too
    *out++ = '0';
    return true;
  }
  auto magnitude = static_cast<std::uint64_t>(std::fabs(units));
  std::uint64_t whole = magnitude / 100000;
  auto fraction = static_cast<std::uint32_t>(magnitude % 100000);
  // Written backwards into a scratch of 16: "-", 9 whole digits, ".", 5 decimals.
  char scratch[16];
  char* end = scratch + sizeof scratch;
  char* p = end;
  if (fraction != 0) {
    int decimals = 5;
    while (fraction % 10 == 0) fraction /= 10, --decimals;
    for (int i = 0; i < decimals; ++i, fraction /= 10) {
      *--p = static_cast<char>('0' + fraction % 10);
    }
    *--p = '.';
  }
  for (; whole != 0; whole /= 10) *--p = static_cast<char>('0' + whole % 10);
  if (value < 0) *--p = '-';
  const auto length = static_cast<std::size_t>(end - p);
  std::memcpy(out, p, length);
  out += length;
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
  char text[16];
  char* end = text;
  if (WritePlainCoordinate(end, value)) {
    line.append(text, static_cast<std::size_t>(end - text));
    return;
  }
  line.append(GeneralCoordinateText(value));
}

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

}  // namespace parquill::kokudo
