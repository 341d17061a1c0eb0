#include "geometry/decimal_rounding.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace parquill {
namespace {

// True when the value's shortest decimal text has at most `digits` (0 to 5)
// decimals, found without writing it: the nearest number of that many
// decimals reads back as the value. Below 10^9 two such numbers lie further
// apart than two neighbouring doubles, so no shorter text could have more
// decimals.
bool HasAtMostDecimals(double value, std::int32_t digits) {
  constexpr double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
  if (digits < 0 || digits > 5 || !(std::fabs(value) < 1e9)) return false;
  const double scale = kScale[digits];
  return std::nearbyint(value * scale) / scale == value;
}

}  // namespace

double RoundDecimals(double value, std::int32_t digits) {
  if (HasAtMostDecimals(value, digits)) return value;  // the common case, at once
  if (!std::isfinite(value) || digits < 0 || digits > 15) return value;
  // The shortest text that reads back as the value: its decimal digits are
  // what a surveyor sees, so halves are judged on them.
  char text[64];
  auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  if (result.ec != std::errc()) return value;
  std::string_view s(text, static_cast<std::size_t>(result.ptr - text));
  std::size_t point = s.find('.');
  if (point == std::string_view::npos || s.size() - point - 1 <= static_cast<std::size_t>(digits)) {
    return value;  // already has no more decimals than asked for
  }
  bool negative = s.front() == '-';
  bool roundUp = s[point + 1 + static_cast<std::size_t>(digits)] >= '5';
  std::string kept(s.substr(0, point + 1 + static_cast<std::size_t>(digits)));
  if (roundUp) {
    // Add one unit in the last kept place to the magnitude.
    int i = static_cast<int>(kept.size()) - 1;
    for (; i >= 0; --i) {
      char& c = kept[static_cast<std::size_t>(i)];
      if (c == '.' || c == '-') continue;
      if (c == '9') {
        c = '0';
      } else {
        ++c;
        break;
      }
    }
    if (i < 0) kept.insert(negative ? 1 : 0, 1, '1');
  }
  double rounded = 0;
  std::from_chars(kept.data(), kept.data() + kept.size(), rounded);
  return rounded;
}

}  // namespace parquill
