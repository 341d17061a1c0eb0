#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace parquill {

// The lines that open every MIF file we write, before its coordinate
// system: version, character set and the MID delimiter.
inline constexpr std::array<std::string_view, 3> kMifHeadLines = {
    "Version 300",
    "Charset \"WindowsJapanese\"",
    "Delimiter \",\"",
};

// A coordinate as "######0.00000": an optional minus sign, every digit of the
// integer part (at least one), ".", and five decimals, the binary value
// rounded correctly to five decimals. A negative value that rounds to zero
// is written "0.00000", without its sign.
std::string FormatMifCoordinate(double value);

// Room for any coordinate text: the widest finite double in fixed notation
// with five decimals, and the few bytes of scratch a quick writing may leave
// after the text's end.
inline constexpr std::size_t kMifCoordinateRoom = 330;
// Room for any point line, as WriteMifPointLine needs it.
inline constexpr std::size_t kMifPointLineRoom = 2 * kMifCoordinateRoom + 1;

// The point-count line of a region: the count with one blank on each side.
std::string MifPointCountLine(int count);

// One point line: X, one blank, Y.
std::string MifPointLine(double x, double y);
// The same, into `line` (its old content replaced), so a long ring reuses one buffer.
void FormatMifPointLine(std::string& line, double x, double y);
// The same, written at `out` with kMifPointLineRoom bytes of room (bytes after
// the line's end may be overwritten); returns the line's end.
char* WriteMifPointLine(char* out, double x, double y);

}  // namespace parquill
