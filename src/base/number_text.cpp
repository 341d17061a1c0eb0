#include "base/number_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "base/number_block_reader.h"
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

using number_block::kExactPowersOfTen;

// Whole numbers 10^n that fit a digit count of up to 8.
constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                          100000, 1000000, 10000000, 100000000};

// "0" in every byte of a word.
constexpr std::uint64_t kZeroCharacters = 0x3030303030303030ULL;

// The number written by the eight digit values of a word (0 to 9 in each
// byte, the first digit in the lowest byte): pairs, then fours, then all
// eight are joined, each by one multiplication.
inline std::uint64_t EightDigitsValue(std::uint64_t values) {
  values = (values * 10 + (values >> 8)) & 0x00FF00FF00FF00FFULL;
  values = (values * 100 + (values >> 16)) & 0x0000FFFF0000FFFFULL;
  return (values * 10000 + (values >> 32)) & 0xFFFFFFFFULL;
}

// The eight bytes at p as a word, the first in the lowest byte.
inline std::uint64_t LoadWord(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) {
    std::uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i) swapped |= ((word >> (8 * (7 - i))) & 0xFF) << (8 * i);
    word = swapped;
  }
  return word;
}

// Reads the run of digits from p on, fewer than `end` allows, adding them
// to `digits` (digits × 10^n + the run), and moves p past it; returns n.
// With `readable` at least 8 bytes from p may be read whatever `end` says:
// a run of fewer than 8 digits is then read at once, as one word.
inline int ReadDigitRun(const char*& p, const char* end, bool readable, std::uint64_t& digits) {
  if (readable || end - p >= 8) {
    // Digit bytes become 0 to 9; adding 0x76 sets the high bit of any
    // other byte (a carry only leaves a byte that is no digit itself).
    const std::uint64_t values = LoadWord(p) ^ kZeroCharacters;
    const std::uint64_t others =
        ((values + 0x7676767676767676ULL) | values) & 0x8080808080808080ULL;
    std::ptrdiff_t n = others == 0 ? 8 : std::countr_zero(others) / 8;
    if (n > end - p) n = end - p;
    if (n < 8) {
      if (n > 0) {
        digits = digits * kPowersOfTen[n] + EightDigitsValue(values << (64 - 8 * n));
        p += n;
      }
      return static_cast<int>(n);
    }
  }
  // Eight digits or more, or a short text: one digit at a time.
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
inline bool ReadPlainNumber(std::string_view text, bool readable, double& value) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p != end && *p == ' ') ++p;
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  // The whole part, then the decimals.
  std::uint64_t digits = 0;
  const int wholeDigits = ReadDigitRun(p, end, readable, digits);
  int decimals = 0;
  if (p != end && *p == '.') {
    ++p;
    decimals = ReadDigitRun(p, end, readable, digits);
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
  if (ReadPlainNumber(text, false, plain)) return plain;
  return NumberFromScannedText(text);
}

static_assert(kReadableAfterText >= kNumberBlockBytes);

namespace {

// A padded text that is not one block of the usual shape; kept apart so that
// the block's way needs no frame.
[[gnu::noinline]] double NumberFromOtherPaddedText(std::string_view text) {
  double plain = 0;
  if (ReadPlainNumber(text, true, plain)) return plain;
  return NumberFromScannedText(text);
}

}  // namespace

double NumberFromPaddedText(std::string_view text) {
#if defined(__SSE2__)
  double value = 0;
  if (ReadNumberBlock(text.data(), text.size(), value)) return value;
#endif
  return NumberFromOtherPaddedText(text);
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
