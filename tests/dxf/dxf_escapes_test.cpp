#include "dxf/dxf_escapes.h"

#include <gtest/gtest.h>

namespace parquill {
namespace {

TEST(DxfEscapes, UnicodeAndJapaneseCodesAreDecodedTheRestKept) {
  const std::pair<const char*, const char*> cases[] = {
      {"\\U+7B46\\U+754C", "筆界"},
      {"\\U+4E00\\U+4E01\\U+76EE5-6", "一丁目5-6"},
      {"\\u+7b46", "\\u+7b46"},  // the letter U is upper case in every drawing
      {"\\U+7b46", "筆"},
      {"\\M+1954D", "筆"},         // 筆 in Shift-JIS
      {"\\M+2954D", "\\M+2954D"},  // another code page: kept
      {"\\M+1FFFF", "\\M+1FFFF"},  // no Japanese character
      {"\\U+00", "\\U+00"},        // cut short
      {"\\U+0000", "\\U+0000"},
      {"\\U+DC81", "\\U+DC81"},
      {"a\\Pb", "a\\Pb"},
      {"123-4", "123-4"},
      {"", ""},
  };
  for (auto [text, decoded] : cases) EXPECT_EQ(DecodeDxfEscapes(text), decoded) << text;
}

}  // namespace
}  // namespace parquill
