#pragma once

#include <string_view>

namespace parquill {

// A MIF point line as the region builder writes it ("-28410.25000 15730.50000"),
// read at once: X from the start of the line up to its first blank, Y from
// there up to the next blank or the end. Both must have the plain shape: an
// optional minus sign, at most 9 whole digits, an optional point with at most
// 5 decimals, and at least one digit. The values are then exactly those
// NumberFromText gives for the two pieces (the digits as a whole number
// divided by a power of ten, both exact doubles), and each is below 10^9 with
// at most five decimals, so rounding it to five decimals leaves it as it is.
// False for any other line (the caller reads it piece by piece).
bool ReadPlainPointLine(std::string_view line, double& x, double& y);

// The same reading for the region builder's own shape only: a line of two
// values with exactly five decimals each, one blank between them and nothing
// after Y ("-28410.25000 15730.50000"), at most 32 bytes. It looks at the
// whole line at once and gives the same values as ReadPlainPointLine; false
// (nothing read) for any other line.
bool ReadUsualPointLine(std::string_view line, double& x, double& y);

}  // namespace parquill
