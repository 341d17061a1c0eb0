// Drawings that are missing, empty, binary, cut short or otherwise broken:
// every step that reads the drawing ends with a clear outcome (its number and
// title), lets no exception escape and leaves no file open.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "dxf/dxf_version.h"
#include "dxf/chiban_text_reader.h"
#include "convert/layer_list_step.h"
#include "convert/version_check_step.h"
#include "dxf/layer_list_reader.h"
#include "convert/region_build_step.h"
#include "robustness_support.h"
#include "support/layer_choice.h"
#include "geometry/point_in_polygon.h"
#include "base/line_reader.h"

namespace parquill {
namespace {

using testing::ChosenLayers;
using testing::OpenFileCount;
using testing::SoundDrawing;
using testing::TempFolder;
using testing::operator+;

// How a step ended: the kind, the error number and the title of its last box.
struct Ending {
  OutcomeKind kind = OutcomeKind::kDone;
  int errorNumber = 0;
  std::string title;
  friend bool operator==(const Ending&, const Ending&) = default;
};

const Ending kDone{};
Ending Trap(int number, std::string title) { return {OutcomeKind::kTrapped, number, title}; }

std::ostream& operator<<(std::ostream& out, const Ending& e) {
  return out << "{kind " << static_cast<int>(e.kind) << ", error " << e.errorNumber << ", \""
             << e.title << "\"}";
}

Ending EndingOf(const Outcome& outcome) {
  return {outcome.kind, outcome.errorNumber,
          outcome.messages.empty() ? std::string() : outcome.messages.back().title};
}

class ItemList : public LayerListSink {
 public:
  void Clear() override { items.clear(); }
  void Add(const std::string& item) override { items.push_back(item); }
  std::vector<std::string> items;
};

std::string Cut(const std::string& drawing, std::string_view after) {
  std::size_t at = drawing.find(after);
  EXPECT_NE(at, std::string::npos) << after;
  return drawing.substr(0, at + after.size());
}

struct BadDrawing {
  const char* what;
  std::function<std::string(const TempFolder&)> make;  // returns the drawing's path
  std::int32_t versionCode;  // what the version check finds: 0 refuses the drawing
  Ending layers;             // "レイア読み込み", as if the version had been accepted
  std::size_t layerItems;    // the list's items after it
  Ending regions;            // "面生成" with the boundary layer
  std::size_t regionCount;   // regions written
  int textTrap;              // the text reader's trapped error, 0 for none
  std::size_t textCount;     // texts read
};

const BadDrawing kBadDrawings[] = {
    {"an empty file", [](const TempFolder& t) { return t.Write("empty.dxf", ""); }, 0, kDone, 1,
     kDone, 0, 0, 0},
    {"a binary DXF",
     [](const TempFolder& t) {
       using namespace std::string_literals;
       return t.Write("binary.dxf",
                      "AutoCAD Binary DXF\r\n\x1a\0"s
                      "\0SECTION\0\x02\0HEADER\0\x09\0$ACADVER\0\x01\0AC1015\0"s);
     },
     0, Trap(5, "PARQUILL"), 1, Trap(5, "TESSARO"), 0, 5, 0},
    {"a folder",
     [](const TempFolder& t) {
       std::filesystem::create_directory(t.File("folder.dxf"));
       return t.File("folder.dxf");
     },
     0, Trap(75, "PARQUILL"), 1, Trap(75, "TESSARO"), 0, 75, 0},
    {"a missing file", [](const TempFolder& t) { return t.File("missing.dxf"); }, 0,
     Trap(53, "PARQUILL"), 1, Trap(53, "TESSARO"), 0, 53, 0},
    {"NUL bytes and invalid Shift-JIS",
     [](const TempFolder& t) {
       using namespace std::string_literals;
       std::string drawing = SoundDrawing();
       drawing.insert(drawing.find("  0\r\nENDTAB"),
                      "999\r\n\0\x81\xff\x80\0\r\n  0\r\nLAYER\r\n100\r\nAcDbLayerTableRecord\r\n"
                      "  2\r\n\x82\0\xfd\r\n"s);
       drawing.insert(drawing.find("  0\r\nLWPOLYLINE"), "999\r\n\0\0\x81\r\n"s);
       return t.Write("bytes.dxf", drawing);
     },
     2000, kDone, 5, kDone, 2, 0, 2},
    {"a drawing cut in the TABLES section",
     [](const TempFolder& t) {
       return t.Write("tables.dxf", Cut(SoundDrawing(), "AcDbLayerTableRecord\r\n  2\r\n0\r\n"));
     },
     2000, kDone, 2, kDone, 0, 0, 0},
    {"a drawing cut in a polyline",
     [](const TempFolder& t) { return t.Write("lwpoly.dxf", Cut(SoundDrawing(), " 20\r\n0\r\n")); },
     2000, kDone, 4, Trap(62, "TESSARO"), 0, 0, 0},
    {"a drawing cut in a text",
     [](const TempFolder& t) {
       return t.Write("text.dxf", Cut(SoundDrawing(), "  1\r\n123-4\r\n"));
     },
     2000, kDone, 4, kDone, 1, 0, 0},
    {"a line of 100 MB without a line end",
     [](const TempFolder& t) {
       // A sparse file: 100 MB of NUL bytes that take no room on the disk.
       std::string path = t.Write("long.dxf", "");
       EXPECT_EQ(::truncate(path.c_str(), 100 << 20), 0);
       return path;
     },
     0, Trap(7, "PARQUILL"), 1, Trap(7, "TESSARO"), 0, 7, 0},
};

void PrintTo(const BadDrawing& bad, std::ostream* out) { *out << bad.what; }

class BadDrawingTest : public ::testing::TestWithParam<BadDrawing> {};

TEST_P(BadDrawingTest, EachStepEndsClearlyAndClosesItsFiles) {
  const BadDrawing& bad = GetParam();
  TempFolder folder;
  const std::string drawing = bad.make(folder);
  const std::string output = folder.File("out.Sim");
  DecodeText("\x82\xa0", TextEncoding::kCp932);  // the codec's converters stay open once made
  const int openFiles = OpenFileCount();

  std::int32_t code = -1;
  EXPECT_NO_THROW(code = ReadDxfVersionCode(drawing));
  EXPECT_EQ(code, bad.versionCode);
  EXPECT_EQ(OpenFileCount(), openFiles) << "the version check";

  ItemList list;
  StepHost host;
  Outcome layers;
  EXPECT_NO_THROW(layers = ReadLayerList(testing::ChoosingDrawing(drawing), VerdictFor(2000, false), list, host));
  EXPECT_EQ(EndingOf(layers), bad.layers);
  EXPECT_EQ(list.items.size(), bad.layerItems);
  EXPECT_EQ(OpenFileCount(), openFiles) << "the layer list";

  RegionBuildSummary written;
  Outcome regions;
  EXPECT_NO_THROW(regions = BuildRegions(testing::Choosing(drawing, output, ChosenLayers({"筆界"})), &written));
  EXPECT_EQ(EndingOf(regions), bad.regions);
  EXPECT_EQ(static_cast<std::size_t>(written.regionsWritten), bad.regionCount);
  EXPECT_EQ(OpenFileCount(), openFiles) << "the region builder";

  ChibanTextRead texts;
  EXPECT_NO_THROW(texts = ReadChibanTexts(drawing, ChosenLayers({"地番"}), TextEncoding::kCp932));
  EXPECT_EQ(texts.trappedError, bad.textTrap);
  EXPECT_FALSE(texts.failed);
  EXPECT_EQ(texts.texts.size(), bad.textCount);
  if (bad.textTrap != 0) {
    ASSERT_EQ(texts.messages.size(), 1u);
    EXPECT_EQ(texts.messages[0].title, "PARQUILL");
    EXPECT_TRUE(
        texts.messages[0].text.starts_with("エラー番号" + std::to_string(bad.textTrap) + "\r\n"));
  }
  EXPECT_EQ(OpenFileCount(), openFiles) << "the text reader";
}

INSTANTIATE_TEST_SUITE_P(Robustness, BadDrawingTest, ::testing::ValuesIn(kBadDrawings),
                         [](const auto& info) {
                           std::string name;
                           for (char c : std::string(info.param.what)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

TEST(BadDrawingMessages, BinaryDxfSaysWhatItIs) {
  TempFolder folder;
  std::string drawing = folder.Write("b.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22));
  Outcome regions =
      BuildRegions(testing::Choosing(drawing, folder.File("out.Sim"), ChosenLayers({"筆界"})));
  ASSERT_EQ(regions.messages.size(), 1u);
  EXPECT_TRUE(regions.messages[0].text.starts_with(
      "エラー番号5\r\nバイナリ形式の DXF ファイルは読み込めません。"))
      << regions.messages[0].text;
  // A text drawing whose first line merely contains the words is read as text.
  std::string text = folder.Write("t.dxf", "AutoCAD Binary DXF file\r\n");
  EXPECT_TRUE(
      BuildRegions(testing::Choosing(text, folder.File("out.Sim"), ChosenLayers({"筆界"})))
          .done());
}

TEST(BadDrawingMessages, FolderAndMissingFileAreNamed) {
  TempFolder folder;
  Outcome missing = BuildRegions(testing::Choosing(folder.File("none.dxf"), folder.File("out.Sim"), ChosenLayers({"筆界"})));
  EXPECT_TRUE(
      missing.messages.at(0).text.starts_with("エラー番号53\r\nファイルが見つかりません。"));
  EXPECT_FALSE(std::filesystem::exists(folder.File("out.MIF")));  // failed before the MIF
  Outcome isFolder = BuildRegions(testing::Choosing(folder.path().string(), folder.File("out.Sim"), ChosenLayers({"筆界"})));
  EXPECT_TRUE(isFolder.messages.at(0).text.starts_with(
      "エラー番号75\r\nパス名が無効です。フォルダが指定されています。"))
      << isFolder.messages.at(0).text;
}

TEST(BadDrawingMessages, OverlongLineIsReportedWithItsLineAndMemoryStaysBounded) {
  TempFolder folder;
  std::string path = folder.Write("long.dxf", "  0\r\n");
  ASSERT_EQ(::truncate(path.c_str(), 100 << 20), 0);
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  try {
    LineReader reader(path);
    std::string_view line;
    while (reader.Next(line)) {
    }
    FAIL() << "the overlong line was read";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), kOutOfMemory);
    EXPECT_NE(error.description().find("1 行が長すぎます"), std::string::npos);
    EXPECT_NE(error.description().find("行 2"), std::string::npos) << error.description();
  }
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  // The reader's buffer is the cap and one read; nothing near the file's 100 MB.
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "KiB";
}

TEST(BadDrawingMessages, UnreadableFileIsRefusedByTheSystem) {
  if (testing::RunningAsRoot()) GTEST_SKIP() << "running as root: permission bits do not stop root";
  TempFolder folder;
  std::string path = folder.Write("locked.dxf", SoundDrawing());
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  const int openFiles = OpenFileCount();
  Outcome regions =
      BuildRegions(testing::Choosing(path, folder.File("out.Sim"), ChosenLayers({"筆界"})));
  EXPECT_EQ(EndingOf(regions), Trap(70, "TESSARO"));
  ChibanTextRead texts = ReadChibanTexts(path, ChosenLayers({"地番"}), TextEncoding::kCp932);
  EXPECT_EQ(texts.trappedError, 70);
  EXPECT_EQ(OpenFileCount(), openFiles);
}

TEST(BadDrawingMessages, InvalidShiftJisLayerNameIsListedAndSelectable) {
  TempFolder folder;
  std::string drawing =
      testing::Joined(testing::Lines{"  0", "SECTION", "  2", "TABLES", "  0", "LAYER", "100",
                                     "AcDbLayerTableRecord", "  2", "\xff\x81", "  0", "ENDSEC"} +
                      testing::Entities(testing::LwPolyline("\xff\x81", "1", testing::Square())));
  std::string path = folder.Write("bad-name.dxf", drawing);
  ItemList list;
  StepHost host;
  ASSERT_TRUE(ReadLayerList(testing::ChoosingDrawing(path), VerdictFor(2000, false), list, host).done());
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(EncodeText(list.items[1], TextEncoding::kCp932), "\xff\x81");
  LayerSelection selection{list.items, {false, true}, 1};
  RegionBuildSummary written;
  EXPECT_TRUE(
      BuildRegions(testing::Choosing(path, folder.File("out.Sim"), selection), &written)
          .done());
  EXPECT_EQ(written.regionsWritten, 1);
}

}  // namespace
}  // namespace parquill
