#pragma once

#include <string_view>

namespace parquill {

// The value of a group code line under the number rule (NumberFromText).
// The usual three-character codes (a blank, a blank or a digit, a digit:
// "  0", " 10") are read at once; any other line by the rule itself.
double GroupCodeValue(std::string_view line);

// What GroupCodeValue reads from a line, told as a whole number: the value
// when it is a whole number from 0 to 999 999 999, kNoWholeCode for any
// other value (a fraction, a negative number, a larger one). The shapes code
// lines mostly have in a drawing are read at once, without the number rule's
// full reading: the usual codes, words ("AcDbEntity", which read as 0), and
// plain numbers ("330", "0.0", "2.5", a handle such as "3A"). Any other line
// goes to GroupCodeValue, and raises what it raises.
inline constexpr int kNoWholeCode = -1;
inline int WholeGroupCode(std::string_view line);

namespace group_code_detail {
// WholeGroupCode for a line that is no usual code.
int WholeCodeOfOtherLine(std::string_view line);
}  // namespace group_code_detail

// The usual codes are read in the caller's code, the other lines in one call.
inline int WholeGroupCode(std::string_view line) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (line.size() == 3 && line[0] == ' ' && (line[1] == ' ' || digit(line[1])) && digit(line[2])) {
    return (line[1] == ' ' ? 0 : line[1] - '0') * 10 + (line[2] - '0');
  }
  return group_code_detail::WholeCodeOfOtherLine(line);
}

}  // namespace parquill
