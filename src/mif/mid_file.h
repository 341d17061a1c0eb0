#pragma once

#include <functional>
#include <string>
#include <string_view>

// The MID file: one line per region of the MIF file, its number, the
// delimiter and its lot number.
namespace parquill {

// The line of region `region` into `line` (its old content replaced): its
// number, "," and the lot number. A lot number holding "," or a double quote
// is written in double quotes, each double quote doubled, as MapInfo quotes a
// character field; any other is written as it is.
void FormatMidLine(std::string& line, int region, std::string_view chiban);

// Reads the MID file line by line (CP932) and hands each line's lot number
// to `onLot`, which returns false to stop the reading. Each line is cut at
// the delimiter; a line whose first field is empty is passed over; the
// second field, trimmed and without its double quotes, is the lot number (a
// field in double quotes is taken whole, delimiters and all). An empty line
// or a line without the delimiter raises error 9; a missing file error 53.
void ReadMidChibans(const std::string& midPath, std::string_view delimiter,
                    const std::function<bool(std::string chiban)>& onLot);

}  // namespace parquill
