#include "dxf/dxf_version.h"

#include <gtest/gtest.h>

namespace parquill {
namespace {

TEST(DxfVersionVerdict, TableOfCodes) {
  struct Case {
    int code;
    const char* name;
    bool red;
    bool processable;
  };
  const Case cases[] = {
      {3, "GXIII", true, false},   {12, "R12J", true, false},   {13, "R13J", true, false},
      {14, "R14J", false, true},   {2000, "2000", false, true}, {15, "2000", false, true},
      {2004, "2004", false, true}, {2007, "2007", false, true}, {2010, "2010", false, true},
      {2013, "2013", false, true}, {2018, "2018", false, true}, {2, "R2.5", true, false},
      {9, "R9", true, false},      {10, "R10", true, false},    {0, "不明", true, false},
      {1, "不明", true, false},    {-5, "不明", true, false},
  };
  for (const auto& c : cases) {
    DxfVersionVerdict verdict = ClassifyDxfVersion(c.code);
    EXPECT_EQ(verdict.name, c.name) << c.code;
    EXPECT_EQ(verdict.shownRed, c.red) << c.code;
    EXPECT_EQ(verdict.processable, c.processable) << c.code;
  }
}

TEST(DxfVersionVerdict, CaptionAndRefusal) {
  EXPECT_EQ(DxfVersionCaption(ClassifyDxfVersion(14)), "DXFのバージョンは、R14Jです。");
  EXPECT_EQ(DxfVersionCaption(ClassifyDxfVersion(12)),
            "DXFのバージョンは、R12Jです。処理不可能です。");
  EXPECT_EQ(DxfVersionCaption(ClassifyDxfVersion(0)),
            "DXFのバージョンは、不明です。処理不可能です。");
  EXPECT_EQ(DxfVersionRefusal("R12J"),
            (Message{"DXFのバージョンは、R12Jです。\r処理不可能です。", "DXFのバージョン"}));
  // Before any file click the name is empty.
  EXPECT_EQ(DxfVersionRefusal("").text, "DXFのバージョンは、です。\r処理不可能です。");
}

TEST(DxfVersionVerdict, Utf8FromDxf2007On) {
  EXPECT_EQ(DxfTextEncoding(2004), TextEncoding::kCp932);
  EXPECT_EQ(DxfTextEncoding(2007), TextEncoding::kUtf8);
  EXPECT_EQ(DxfTextEncoding(2018), TextEncoding::kUtf8);
  EXPECT_EQ(DxfTextEncoding(14), TextEncoding::kCp932);
}

}  // namespace
}  // namespace parquill
