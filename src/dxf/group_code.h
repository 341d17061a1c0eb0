#pragma once

#include <string_view>

namespace parquill {

// The value of a group code line under the number rule (NumberFromText).
// The usual three-character codes (a blank, a blank or a digit, a digit:
// "  0", " 10") are read at once; any other line by the rule itself.
double GroupCodeValue(std::string_view line);

}  // namespace parquill
