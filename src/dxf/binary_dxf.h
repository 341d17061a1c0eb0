#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace parquill {

// A binary DXF file begins with this line (then CR LF, SUB and NUL); its
// groups are binary numbers and strings, not lines, so no reader here can
// take anything from it.
inline constexpr std::string_view kBinaryDxfSentinel = "AutoCAD Binary DXF";

// Called with every line a drawing reader reads: the first line of a binary
// DXF file raises error 5 with a description that says so, rather than
// letting the reading end as if the drawing were empty.
void RejectBinaryDxf(std::string_view line, std::int64_t lineNumber, const std::string& path);

}  // namespace parquill
