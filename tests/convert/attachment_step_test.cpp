#include "convert/attachment_step.h"

#include <gtest/gtest.h>

#include "base/output_file_names.h"
#include "support/layer_choice.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::CrLf;
using testing::ReadBytes;
using testing::TempFolder;

using testing::Sjis;

// A TEXT entity of the drawing, as a CAD program writes it.
std::string Text(std::string_view layer, std::string_view string, double x, double y) {
  return CrLf({"  0", "TEXT",
               "  5", "2A",
               "100", "AcDbEntity",
               "  8", layer,
               "100", "AcDbText",
               " 10", std::to_string(x),
               " 20", std::to_string(y),
               " 40", "2.5",
               "  1", string,
               "100", "AcDbText"});
}

std::string Drawing(const std::string& entities) {
  return CrLf({"  0", "SECTION", "  2", "ENTITIES"}) + entities +
         CrLf({"  0", "ENDSEC", "  0", "EOF"});
}

const char* kHeader =
    "Version 300\r\nCharset \"WindowsJapanese\"\r\nDelimiter \",\"\r\n"
    "Coordsys Earth Projection 1,0\r\nColumns 2\r\n   ID Char(8)\r\n   Chiban Char(20)\r\nData\r\n";

// A square region from (x, y) with side s, as the region builder writes it.
std::string Square(double x, double y, double s) {
  auto p = [](double a, double b) { return std::to_string(a) + " " + std::to_string(b); };
  return CrLf({"REGION 1", " 5 ", p(x, y), p(x + s, y), p(x + s, y + s), p(x, y + s), p(x, y)});
}

LayerSelection TextLayerSelected(std::string_view layer) {
  return {{"すべて", "筆界", std::string(layer)}, {false, false, true}, 2};
}

struct AttachRun {
  Outcome outcome;
  std::string mid;
  bool midExists;
};

AttachRun Attach(const std::string& entities, const std::string& mif,
                 std::string_view layer = "地番") {
  TempFolder folder;
  std::string drawing = folder.Write("d.dxf", Drawing(entities));
  std::string output = folder.File("d.Sim");
  OutputFileNames names = OutputFileNamesFor(output);
  folder.Write("d.MIF", mif);
  Outcome outcome = AttachChibans(testing::Choosing(drawing, output, {}, TextLayerSelected(layer)));
  return AttachRun{outcome, ReadBytes(names.mid), std::filesystem::exists(names.mid)};
}

TEST(AttachChibans, MidLinesOnePerRegion) {
  const std::string layer = Sjis("地番");
  struct Case {
    const char* what;
    std::string entities;
    std::string regions;
    std::string mid;
  };
  const Case cases[] = {
      {"text inside, region without text", Text(layer, "12-3", 5, 5),
       Square(0, 0, 10) + Square(20, 0, 10), "1,12-3\r\n2,\r\n"},
      {"earlier text in the drawing wins", Text(layer, "first", 2, 2) + Text(layer, "second", 5, 5),
       Square(0, 0, 10), "1,first\r\n"},
      {"one text inside two overlapping regions", Text(layer, "7", 5, 5),
       Square(0, 0, 10) + Square(4, 4, 10), "1,7\r\n2,7\r\n"},
      {"a text on the boundary belongs to the region", Text(layer, "edge", 10, 5), Square(0, 0, 10),
       "1,edge\r\n"},
      {"blanks trimmed, long lot numbers kept whole, a comma quoted",
       Text(layer, "  123456789012345678901234,5  ", 5, 5), Square(0, 0, 10),
       "1,\"123456789012345678901234,5\"\r\n"},
      {"texts of other layers are not used", Text("other", "x", 5, 5), Square(0, 0, 10), "1,\r\n"},
      {"Japanese lot numbers go out in Shift-JIS", Text(layer, Sjis("一丁目5-6"), 5, 5),
       Square(0, 0, 10), "1," + Sjis("一丁目5-6") + "\r\n"},
      {"a MIF without regions gives an empty MID", Text(layer, "1", 5, 5), "", ""},
      {"any line containing REGION starts a region", Text(layer, "9", 5, 5),
       CrLf({"xxREGIONyy", " 4 ", "0 0", "10 0", "10 10", "0 0"}), "1,9\r\n"},
  };
  for (const auto& c : cases) {
    AttachRun run = Attach(c.entities, kHeader + c.regions);
    EXPECT_EQ(run.outcome.kind, OutcomeKind::kDone) << c.what;
    EXPECT_TRUE(run.outcome.messages.empty()) << c.what;
    EXPECT_EQ(run.mid, c.mid) << c.what;
  }
}

TEST(AttachChibans, TrapsLeaveNoMidFile) {
  const std::string layer = Sjis("地番");
  const std::string text = Text(layer, "1", 5, 5);
  std::string ring1001 = "REGION 1\r\n 1001 \r\n";
  for (int i = 0; i < 1001; ++i) ring1001 += "1 1\r\n";
  std::string ring1000 = "REGION 1\r\n 1000 \r\n";
  for (int i = 0; i < 1000; ++i) ring1000 += "1 1\r\n";
  struct Case {
    const char* what;
    std::string mif;
    int number;
    std::string mid;
  };
  const Case cases[] = {
      {"a region of 1001 points", Square(0, 0, 10) + ring1001, 9, ""},
      {"a point line without a blank", Square(0, 0, 10) + CrLf({"REGION 1", " 2 ", "5"}), 9, ""},
      {"an empty point line", CrLf({"REGION 1", " 2 ", "", "1 1"}), 9, ""},
      {"the MIF ending inside a region", CrLf({"REGION 1", " 5 ", "1 1"}), 62, ""},
      {"a point count beyond 16 bits", CrLf({"REGION 1", " 40000 "}), 6, ""},
  };
  for (const auto& c : cases) {
    AttachRun run = Attach(text, kHeader + c.mif);
    EXPECT_EQ(run.outcome.kind, OutcomeKind::kTrapped) << c.what;
    EXPECT_EQ(run.outcome.errorNumber, c.number) << c.what;
    ASSERT_EQ(run.outcome.messages.size(), 1u) << c.what;
    EXPECT_EQ(run.outcome.messages[0].title, "TESSARO");
    EXPECT_EQ(run.mid, c.mid) << c.what;
  }
  EXPECT_EQ(Attach(text, kHeader + ring1000).outcome.kind, OutcomeKind::kDone);
}

TEST(AttachChibans, MissingMifIsError53AndNoMid) {
  TempFolder folder;
  std::string drawing = folder.Write("d.dxf", Drawing(""));
  Outcome outcome = AttachChibans(
      testing::Choosing(drawing, folder.File("d.Sim"), {}, TextLayerSelected("地番")));
  EXPECT_EQ(outcome.errorNumber, 53);
  EXPECT_FALSE(std::filesystem::exists(folder.File("d.MID")));
}

TEST(AttachChibans, ReaderRefusalTouchesNothing) {
  TempFolder folder;
  std::string drawing = folder.Write("d.dxf", Drawing(""));
  folder.Write("d.MIF", kHeader);
  LayerSelection onlyAll{{"すべて", "地番"}, {true, false}, 0};
  Outcome outcome = AttachChibans(testing::Choosing(drawing, folder.File("d.Sim"), {}, onlyAll));
  EXPECT_EQ(outcome.kind, OutcomeKind::kRefused);
  EXPECT_EQ(outcome.messages, (std::vector<Message>{{"すべては選択できません。", "レイア選択"}}));
  EXPECT_FALSE(std::filesystem::exists(folder.File("d.MID")));
}

TEST(AttachChibans, RefusesToWriteOverTheDrawing) {
  TempFolder folder;
  std::string drawing = folder.Write("d.MID", Drawing(""));
  Outcome outcome = AttachChibans(
      testing::Choosing(drawing, folder.File("d.Sim"), {}, TextLayerSelected("地番")));
  EXPECT_EQ(outcome.messages, (std::vector<Message>{OutputIsInputRefusal()}));
  EXPECT_EQ(ReadBytes(drawing), Drawing(""));
}

}  // namespace
}  // namespace parquill
