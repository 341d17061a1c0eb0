#include "dxf/group_code.h"

#include "text/number_text.h"

namespace parquill {

double GroupCodeValue(std::string_view line) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (line.size() == 3 && line[0] == ' ' && (line[1] == ' ' || digit(line[1])) && digit(line[2])) {
    const int tens = line[1] == ' ' ? 0 : line[1] - '0';
    return tens * 10 + (line[2] - '0');
  }
  // A line that begins with a letter ("AcDbText", a handle such as "B1")
  // holds no number: it reads as 0.
  const char first = line.empty() ? '\0' : line.front();
  if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) return 0;
  return NumberFromText(line);
}

}  // namespace parquill
