#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace parquill {

// Reads a number from a line of text by the lenient rule every reader shares:
// blanks, tabs and line feeds are ignored wherever they stand; then the longest
// leading decimal number is taken (optional sign, digits, at most one ".", an
// optional exponent). A text that does not begin with a number gives 0.
// The decimal point is "." whatever the locale. A value too large for a double
// raises the overflow error (6).
double NumberFromText(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour; a value outside
// the integer's width raises the overflow error (6).
std::int16_t ToInt16(double value);
std::int32_t ToInt32(double value);

}  // namespace parquill
