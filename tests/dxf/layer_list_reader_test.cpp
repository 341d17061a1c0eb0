#include "convert/layer_list_step.h"
#include "dxf/layer_list_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "convert/version_check_step.h"
#include "support/layer_choice.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::CrLf;
using testing::TempFolder;

class ListOfItems : public LayerListSink {
 public:
  void Clear() override { items.clear(); }
  void Add(const std::string& item) override { items.push_back(item); }
  std::vector<std::string> items = {"old"};
};

class CountingHost : public StepHost {
 public:
  void LetEventsThrough() override { ++events; }
  int events = 0;
};

using testing::Sjis;

std::string LayerRecord(std::string_view name) {
  return CrLf({"  0", "LAYER", "  5", "10", "100", "AcDbSymbolTableRecord", "100",
               "AcDbLayerTableRecord", "  2", name, " 70", "     0", " 62", "     7"});
}

std::string Tables(const std::string& records) {
  return CrLf({"  0", "SECTION", "  2", "HEADER", "  0", "ENDSEC", "  0", "SECTION", "  2",
               "TABLES", "  0", "TABLE", "  2", "LAYER"}) +
         records + CrLf({"  0", "ENDTAB", "  0", "ENDSEC"});
}

std::vector<std::string> Scan(const std::string& bytes) {
  TempFolder folder;
  std::vector<std::string> names;
  ScanLayerNames(folder.Write("d.dxf", bytes), TextEncoding::kCp932,
                 [&](const std::string& name) { names.push_back(name); });
  return names;
}

using Names = std::vector<std::string>;

TEST(LayerNameScan, OrderOfTests) {
  struct Case {
    const char* what;
    std::string bytes;
    Names names;
  };
  const Case cases[] = {
      {"three records in file order",
       Tables(LayerRecord("0") + LayerRecord(Sjis("筆界")) + LayerRecord(Sjis("地番"))),
       {"0", "筆界", "地番"}},
      {"names keep their blanks", Tables(LayerRecord(" A ")), {" A "}},
      {"no TABLES section", CrLf({"  0", "SECTION", "  2", "ENTITIES", "  0", "ENDSEC"}), {}},
      {"group code without its blanks", Tables(CrLf({"AcDbLayerTableRecord", "2", "X"})), {}},
      {"other groups between marker and name",
       Tables(CrLf({"AcDbLayerTableRecord", " 70", "0", "  2", "B"})),
       {"B"}},
      {"a name equal to ENDSEC ends the reading",
       Tables(LayerRecord("A") + LayerRecord("ENDSEC") + LayerRecord("C")),
       {"A"}},
      {"a marker before TABLES counts",
       CrLf({"AcDbLayerTableRecord", "  2", "EARLY", "TABLES", "ENDSEC", "AcDbLayerTableRecord",
             "  2", "LATE"}),
       {"EARLY"}},
      {"ENDSEC before TABLES does not stop",
       CrLf({"ENDSEC", "TABLES", "AcDbLayerTableRecord", "  2", "L", "ENDSEC"}),
       {"L"}},
      {"marker in ENTITIES after TABLES adds nothing",
       Tables(LayerRecord("A")) + CrLf({"ENTITIES", "AcDbLayerTableRecord", "  2", "Z"}),
       {"A"}},
      {"name flag cleared by an intervening line",
       CrLf({"TABLES", "  2", "AcDbLayerTableRecord", "  2", "  2", "N"}),
       {"  2"}},
      {"LF line ends", "TABLES\nAcDbLayerTableRecord\n  2\nLF\nENDSEC\n", {"LF"}},
      {"file ending without ENDSEC",
       CrLf({"TABLES", "AcDbLayerTableRecord", "  2", "END"}),
       {"END"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Scan(c.bytes), c.names) << c.what;
  }
}

TEST(ReadLayerList, RefusalsAndTheAllLayersItem) {
  TempFolder folder;
  std::string drawing =
      folder.Write("d.dxf", Tables(LayerRecord(Sjis("筆界")) + LayerRecord(Sjis("地番"))));
  struct Case {
    const char* what;
    std::string drawing;
    DxfVersionVerdict verdict;
    OutcomeKind kind;
    Names items;
    std::vector<Message> messages;
  };
  const Case cases[] = {
      {"processable drawing", drawing, VerdictFor(2000, false), OutcomeKind::kDone,
       {"すべて", "筆界", "地番"}, {}},
      {"before any file click", "", {}, OutcomeKind::kRefused, {"old"},
       {{"DXFのバージョンは、です。\r処理不可能です。", "DXFのバージョン"}}},
      {"old version", drawing, VerdictFor(12, false), OutcomeKind::kRefused, {"old"},
       {{"DXFのバージョンは、R12Jです。\r処理不可能です。", "DXFのバージョン"}}},
      {"no input file", "", VerdictFor(14, false), OutcomeKind::kRefused, {"すべて"},
       {{"入力ファイルが選択されていません。", "ファイル指定"}}},
  };
  for (const auto& c : cases) {
    ListOfItems list;
    CountingHost host;
    Outcome outcome = ReadLayerList(testing::ChoosingDrawing(c.drawing), c.verdict, list, host);
    EXPECT_EQ(outcome.kind, c.kind) << c.what;
    EXPECT_EQ(list.items, c.items) << c.what;
    EXPECT_EQ(outcome.messages, c.messages) << c.what;
  }
}

TEST(ReadLayerList, LetsEventsThroughAfterEachName) {
  TempFolder folder;
  std::string drawing = folder.Write("d.dxf", Tables(LayerRecord("A") + LayerRecord("B")));
  ListOfItems list;
  CountingHost host;
  ReadLayerList(testing::ChoosingDrawing(drawing), VerdictFor(2000, false), list, host);
  EXPECT_EQ(host.events, 2);
}

TEST(ReadLayerList, AMissingDrawingIsTrappedWithTheListReduced) {
  TempFolder folder;
  ListOfItems list;
  CountingHost host;
  Outcome outcome = ReadLayerList(testing::ChoosingDrawing(folder.File("gone.dxf")), VerdictFor(2000, false), list, host);
  EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped);
  EXPECT_EQ(outcome.errorNumber, kFileNotFound);
  EXPECT_EQ(list.items, Names{"すべて"});
}

TEST(ReadLayerList, Utf8DrawingsListTheirJapaneseNames) {
  TempFolder folder;
  std::string drawing = folder.Write("d.dxf", Tables(LayerRecord("筆界")));
  ListOfItems list;
  CountingHost host;
  ReadLayerList(testing::ChoosingDrawing(drawing), VerdictFor(2018, false), list, host);
  EXPECT_EQ(list.items, (Names{"すべて", "筆界"}));
}

}  // namespace
}  // namespace parquill
