#include "text/plain_point_line.h"

#include <cstdint>

namespace parquill {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
constexpr std::ptrdiff_t kMaxWholeDigits = 9;
constexpr std::ptrdiff_t kMaxDecimals = 5;

// Reads one plain value from `p`; the position after it, or nullptr when the
// text there has another shape.
inline const char* ReadPlainValue(const char* p, const char* end, double& value) {
  bool negative = false;
  if (p != end && *p == '-') {
    negative = true;
    ++p;
  }
  const char* first = p;
  std::uint64_t digits = 0;
  unsigned d = 0;
  while (p != end && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
    if (p - first == kMaxWholeDigits) return nullptr;
    digits = digits * 10 + d;
    ++p;
  }
  const std::ptrdiff_t wholeDigits = p - first;
  std::ptrdiff_t decimals = 0;
  if (p != end && *p == '.') {
    const char* point = ++p;
    while (p != end && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
      if (p - point == kMaxDecimals) return nullptr;
      digits = digits * 10 + d;
      ++p;
    }
    decimals = p - point;
  }
  if (wholeDigits + decimals == 0) return nullptr;
  const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return p;
}

}  // namespace

bool ReadPlainPointLine(std::string_view line, double& x, double& y) {
  const char* end = line.data() + line.size();
  const char* p = ReadPlainValue(line.data(), end, x);
  if (p == nullptr || p == end || *p != ' ') return false;
  p = ReadPlainValue(p + 1, end, y);
  return p != nullptr && (p == end || *p == ' ');
}

}  // namespace parquill
