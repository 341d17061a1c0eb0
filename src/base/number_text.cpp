#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "base/runtime_error.h"

namespace parquill {
namespace {

constexpr bool IsIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks a text while skipping the ignored characters, and collects the
// characters of the number it matches. Short numbers stay on the stack.
class NumberScanner {
 public:
  explicit NumberScanner(std::string_view text) : text_(text) { Skip(); }

  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  void Take() {
    Append(text_[pos_++]);
    Skip();
  }
  // Remembers how much has been collected, to drop an incomplete exponent.
  std::size_t Mark() const { return length_; }
  void Truncate(std::size_t mark) { length_ = mark; }

  std::string_view Collected() const {
    return overflow_.empty() ? std::string_view(small_, length_)
                             : std::string_view(overflow_).substr(0, length_);
  }

 private:
  void Skip() {
    while (pos_ < text_.size() && IsIgnored(text_[pos_])) ++pos_;
  }
  void Append(char c) {
    if (length_ < sizeof small_ && overflow_.empty()) {
      small_[length_++] = c;
      return;
    }
    if (overflow_.empty()) overflow_.assign(small_, length_);
    overflow_.resize(length_);
    overflow_.push_back(c);
    ++length_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  char small_[96];
  std::size_t length_ = 0;
  std::string overflow_;
};

double ParseCollected(std::string_view number) {
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0;
  auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars says the same for underflow; a negative exponent means a tiny value.
    auto e = number.find_first_of("eE");
    bool tiny = e != std::string_view::npos && number.find('-', e) != std::string_view::npos;
    if (tiny) return number.front() == '-' ? -0.0 : 0.0;
    throw RuntimeError(kOverflow);
  }
  return value;
}

// Powers of ten that doubles hold exactly.
constexpr double kExactPowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Reads the run of digits from p on, before `end`, adding them to `digits`
// (digits × 10^n + the run), and moves p past it; returns n.
inline int ReadDigitRun(const char*& p, const char* end, std::uint64_t& digits) {
  const char* first = p;
  unsigned d = 0;
  while (p != end && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
    digits = digits * 10 + d;
    ++p;
  }
  return static_cast<int>(p - first);
}

// The common shape of a DXF or MIF value, read at once: blanks, a sign, at
// most 15 digits with a point among them, then the end of the text or a
// character that ends the number. Whole numbers below 10^15 and powers of ten
// up to 10^15 are exact doubles, so one division gives the correctly rounded
// value, the same as the full reading. False for any other shape.
inline bool ReadPlainNumber(std::string_view text, double& value) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p != end && *p == ' ') ++p;
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  // The whole part, then the decimals.
  std::uint64_t digits = 0;
  const int wholeDigits = ReadDigitRun(p, end, digits);
  int decimals = 0;
  if (p != end && *p == '.') {
    ++p;
    decimals = ReadDigitRun(p, end, digits);
  }
  const int count = wholeDigits + decimals;
  if (count <= 0 || count > 15) return false;  // no digit, or more than a double holds exactly
  // What follows must end the number: blanks up to the end of the text, or
  // a character that is no blank and no exponent (which the full reading
  // would skip or take).
  if (p != end && IsIgnored(*p)) {
    while (p != end && *p == ' ') ++p;
    if (p != end) return false;
  }
  if (p != end && (*p == 'e' || *p == 'E')) return false;
  const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
}

// Any other shape, character by character; kept out of the plain shape's
// way so that its frame is set up only when needed.
[[gnu::noinline]] double NumberFromScannedText(std::string_view text) {
  NumberScanner s(text);
  if (s.Peek() == '+' || s.Peek() == '-') s.Take();
  int digits = 0;
  while (IsDigit(s.Peek())) s.Take(), ++digits;
  if (s.Peek() == '.') {
    s.Take();
    while (IsDigit(s.Peek())) s.Take(), ++digits;
  }
  if (digits == 0) return 0;
  if (s.Peek() == 'e' || s.Peek() == 'E') {
    std::size_t mark = s.Mark();
    s.Take();
    if (s.Peek() == '+' || s.Peek() == '-') s.Take();
    int exponentDigits = 0;
    while (IsDigit(s.Peek())) s.Take(), ++exponentDigits;
    if (exponentDigits == 0) s.Truncate(mark);  // "1e" and "1e+" read as 1
  }
  return ParseCollected(s.Collected());
}

}  // namespace

double NumberFromText(std::string_view text) {
  double plain = 0;
  if (ReadPlainNumber(text, plain)) return plain;
  return NumberFromScannedText(text);
}

namespace {

template <typename Int>
Int ToInteger(double value) {
  double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
    throw RuntimeError(kOverflow);
  }
  return static_cast<Int>(rounded);
}

}  // namespace

std::int16_t ToInt16(double value) { return ToInteger<std::int16_t>(value); }
std::int32_t ToInt32(double value) { return ToInteger<std::int32_t>(value); }

}  // namespace parquill
