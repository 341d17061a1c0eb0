#pragma once

#include <string_view>

namespace parquill {

// Removes leading and trailing blanks. Only the space character counts as a
// blank; tabs stay.
constexpr std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && text[first] == ' ') ++first;
  while (last > first && text[last - 1] == ' ') --last;
  return text.substr(first, last - first);
}

}  // namespace parquill
