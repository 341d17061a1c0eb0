#include "convert/attachment_step.h"

#include <gtest/gtest.h>

#include "base/output_file_names.h"
#include "support/drawn_lots.h"
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

using testing::DrawnLots;
using testing::PointRing;

PointRing Square(double x, double y, double s) { return testing::SquareRing(x, y, s); }

LayerSelection TextLayerSelected(std::string_view layer) {
  return {{"すべて", "筆界", std::string(layer)}, {false, false, true}, 2};
}

struct AttachRun {
  Outcome outcome;
  std::string mid;
  bool midExists;
};

AttachRun Attach(const std::string& entities, const std::vector<PointRing>& rings,
                 std::string_view layer = "地番") {
  TempFolder folder;
  std::string drawing = folder.Write("d.dxf", Drawing(entities));
  std::string output = folder.File("d.Sim");
  OutputFileNames names = OutputFileNamesFor(output);
  LotModel lots = DrawnLots(rings);
  Outcome outcome =
      AttachChibans(testing::Choosing(drawing, output, {}, TextLayerSelected(layer)), lots);
  return AttachRun{outcome, ReadBytes(names.mid), std::filesystem::exists(names.mid)};
}

TEST(AttachChibans, MidLinesOnePerRegion) {
  const std::string layer = Sjis("地番");
  struct Case {
    const char* what;
    std::string entities;
    std::vector<PointRing> regions;
    std::string mid;
  };
  const Case cases[] = {
      {"text inside, region without text",
       Text(layer, "12-3", 5, 5),
       {Square(0, 0, 10), Square(20, 0, 10)},
       "1,12-3\r\n2,\r\n"},
      {"earlier text in the drawing wins",
       Text(layer, "first", 2, 2) + Text(layer, "second", 5, 5),
       {Square(0, 0, 10)},
       "1,first\r\n"},
      {"one text inside two overlapping regions",
       Text(layer, "7", 5, 5),
       {Square(0, 0, 10), Square(4, 4, 10)},
       "1,7\r\n2,7\r\n"},
      {"a text on the boundary belongs to the region",
       Text(layer, "edge", 10, 5),
       {Square(0, 0, 10)},
       "1,edge\r\n"},
      {"blanks trimmed, long lot numbers kept whole, a comma quoted",
       Text(layer, "  123456789012345678901234,5  ", 5, 5),
       {Square(0, 0, 10)},
       "1,\"123456789012345678901234,5\"\r\n"},
      {"a double quote doubled inside quotes",
       Text(layer, "1\"2", 5, 5),
       {Square(0, 0, 10)},
       "1,\"1\"\"2\"\r\n"},
      {"texts of other layers are not used",
       Text("other", "x", 5, 5),
       {Square(0, 0, 10)},
       "1,\r\n"},
      {"Japanese lot numbers go out in Shift-JIS",
       Text(layer, Sjis("一丁目5-6"), 5, 5),
       {Square(0, 0, 10)},
       "1," + Sjis("一丁目5-6") + "\r\n"},
      {"no lots give an empty MID", Text(layer, "1", 5, 5), {}, ""},
  };
  for (const auto& c : cases) {
    AttachRun run = Attach(c.entities, c.regions);
    EXPECT_EQ(run.outcome.kind, OutcomeKind::kDone) << c.what;
    EXPECT_TRUE(run.outcome.messages.empty()) << c.what;
    EXPECT_EQ(run.mid, c.mid) << c.what;
  }
}

// A lot of more than 1000 points is error 9, and no MID file is written;
// one of 1000 is taken.
TEST(AttachChibans, ARingOfAThousandPointsAndOneMore) {
  const std::string text = Text(Sjis("地番"), "1", 5, 5);
  for (const std::size_t count : {1000, 1001}) {
    const AttachRun run = Attach(text, {Square(0, 0, 10), PointRing(count, {1, 1})});
    if (count == 1000) {
      EXPECT_EQ(run.outcome.kind, OutcomeKind::kDone);
      EXPECT_EQ(run.mid, "1,1\r\n2,\r\n");
      continue;
    }
    EXPECT_EQ(run.outcome.kind, OutcomeKind::kTrapped);
    EXPECT_EQ(run.outcome.errorNumber, 9);
    ASSERT_EQ(run.outcome.messages.size(), 1u);
    EXPECT_EQ(run.outcome.messages[0].title, "TESSARO");
    EXPECT_FALSE(run.midExists);
  }
}

TEST(AttachChibans, ReaderRefusalTouchesNothing) {
  TempFolder folder;
  std::string drawing = folder.Write("d.dxf", Drawing(""));
  LayerSelection onlyAll{{"すべて", "地番"}, {true, false}, 0};
  LotModel lots = DrawnLots({Square(0, 0, 10)});
  Outcome outcome =
      AttachChibans(testing::Choosing(drawing, folder.File("d.Sim"), {}, onlyAll), lots);
  EXPECT_EQ(outcome.kind, OutcomeKind::kRefused);
  EXPECT_EQ(outcome.messages, (std::vector<Message>{{"すべては選択できません。", "レイア選択"}}));
  EXPECT_FALSE(std::filesystem::exists(folder.File("d.MID")));
}

TEST(AttachChibans, RefusesToWriteOverTheDrawing) {
  TempFolder folder;
  std::string drawing = folder.Write("d.MID", Drawing(""));
  LotModel lots = DrawnLots({Square(0, 0, 10)});
  Outcome outcome = AttachChibans(
      testing::Choosing(drawing, folder.File("d.Sim"), {}, TextLayerSelected("地番")), lots);
  EXPECT_EQ(outcome.messages, (std::vector<Message>{OutputIsInputRefusal()}));
  EXPECT_EQ(ReadBytes(drawing), Drawing(""));
}

}  // namespace
}  // namespace parquill
