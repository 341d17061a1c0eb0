#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/line_reader.h"
#include "base/step_outcome.h"

namespace parquill {

// What a group code line reads as, by the number rule (NumberFromText); a
// line that begins with a letter ("AcDbText", a handle such as "B1") holds
// no number and reads as 0.
double GroupCodeValue(std::string_view line);

// GroupCodeValue told as a whole number: the value when it is a whole number
// from 0 to 999 999 999, kNoWholeCode for any other value (a fraction, a
// negative number, a larger one, one beyond the double range).
inline constexpr int kNoWholeCode = -1;
int WholeGroupCode(std::string_view line);

// Whether a group code line has the usual shape, three characters (a blank,
// a blank or a digit, a digit), and is not 0 ("  0", " 00"): such a code
// goes with one value line and never ends an entity.
bool IsUsualNonZeroGroupCode(std::string_view line);

// The lines of a drawing, with the two ways of passing what does not matter
// without looking at every line: both look at 64 bytes at a time, count the
// lines they pass (line numbers stay exact) and keep the longest-line error.
class DxfLineSource {
 public:
  // Opens the drawing (errors as LineReader's).
  explicit DxfLineSource(const std::string& path) : lines_(path) {}

  bool Next(std::string_view& line) { return lines_.Next(line); }
  std::string_view Require() { return lines_.Require(); }
  std::int64_t lineNumber() const { return lines_.lineNumber(); }
  const std::string& path() const { return lines_.path(); }
  // Tells the step's host how much of the drawing is read.
  void ReportShareReadTo(StepHost* host) {
    if (host != nullptr)
      lines_.ReportShareReadTo([host](double share) { host->ShowShareRead(share); });
  }

  // Reads on to the next line equal, byte for byte, to one of the keywords
  // and delivers it, as a loop of Next() that stops at such a line would;
  // false at the end of the drawing.
  bool SkipTo(std::span<const std::string_view> keywords, std::string_view& line);

  // Reads group pairs, a code line then a value line, from the next line on,
  // passing those whose code line is usual (IsUsualNonZeroGroupCode), and
  // delivers the next code line that is not, as Next() would; false when the
  // drawing ends first (also between a code line and its value).
  bool PassUsualGroupPairs(std::string_view& codeLine);

  // Reads one group pair: its code line, read by `codeOf` before the value
  // line can move it, then its value line, unless the code is 0: that ends an
  // entity, and its value, the next entity's name, is left to the caller.
  // False when the drawing ends before the code line or before the value.
  template <typename Code>
  bool NextGroupPair(Code (*codeOf)(std::string_view), Code& code, std::string_view& value) {
    std::string_view codeLine;
    if (!lines_.Next(codeLine)) return false;
    code = codeOf(codeLine);
    return code == 0 || lines_.Next(value);
  }

 private:
  void PassLinesBefore(std::span<const std::string_view> keywords);
  bool PassBufferedUsualPairs();

  LineReader lines_;
};

}  // namespace parquill
