#include "dxf/dxf_version.h"

#include <gtest/gtest.h>

#include <string_view>

#include "support/temp_folder.h"

namespace parquill {
namespace {

using testing::CrLf;
using testing::TempFolder;

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

std::string DrawingOfVersion(std::string_view acadver) {
  return CrLf({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", acadver, "  9",
               "$DWGCODEPAGE", "  3", "ANSI_932", "  0", "ENDSEC", "  0", "EOF"});
}

TEST(ReadDxfVersionCode, MapsTheVersionStringToItsCode) {
  const std::pair<const char*, int> cases[] = {
      {"AC1009", 12},   {"AC1012", 13},   {"AC1014", 14},   {"AC1015", 2000},
      {"AC1018", 2004}, {"AC1021", 2007}, {"AC1024", 2010}, {"AC1027", 2013},
      {"AC1032", 2018}, {"AC1006", 10},   {"AC1004", 9},    {"AC1003", 3},
      {"AC1002", 2},    {"AC9999", 0},    {"ac1015", 0},    {" AC1015 ", 2000},
  };
  TempFolder folder;
  for (auto [acadver, code] : cases) {
    EXPECT_EQ(ReadDxfVersionCode(folder.Write("v.dxf", DrawingOfVersion(acadver))), code) << acadver;
  }
}

TEST(ReadDxfVersionCode, UnreadableOrVersionlessDrawingsAreZero) {
  TempFolder folder;
  EXPECT_EQ(ReadDxfVersionCode(""), 0);
  EXPECT_EQ(ReadDxfVersionCode(folder.File("missing.dxf")), 0);
  EXPECT_EQ(ReadDxfVersionCode(folder.path().string()), 0);
  EXPECT_EQ(ReadDxfVersionCode(folder.Write("empty.dxf", "")), 0);
  EXPECT_EQ(ReadDxfVersionCode(folder.Write("cut.dxf", CrLf({"  9", "$ACADVER", "  1"}))), 0);
  // The version must come before the entities.
  EXPECT_EQ(
      ReadDxfVersionCode(folder.Write("late.dxf", CrLf({"ENTITIES", "  9", "$ACADVER", "  1", "AC1015"}))), 0);
  EXPECT_EQ(ReadDxfVersionCode(folder.Write("lf.dxf", "  9\n$ACADVER\n  1\nAC1014\n")), 14);
}

}  // namespace
}  // namespace parquill
