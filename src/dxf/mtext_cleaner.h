#pragma once

#include <string>
#include <string_view>

namespace parquill {

// Removes the formatting codes from the string of an MTEXT entity (decoded
// text): the string is cut into paragraphs at every "\P"; of each paragraph
// only what follows its last ";" and precedes its last "}" is kept, with its
// blanks trimmed; the paragraphs are joined with one blank between them.
// So "{\H2.5;12}\P{\C1;3-4}" gives "12 3-4".
std::string CleanMText(std::string_view text);

}  // namespace parquill
