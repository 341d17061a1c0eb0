#pragma once

#include <cstdint>

namespace parquill {

// Rounds to `digits` decimal places, halves away from zero, judged on the
// value's shortest decimal text (so 0.125 and 1.000005 are halves).
double RoundDecimals(double value, std::int32_t digits);

}  // namespace parquill
