// The map and the report in the window: the drawing after a file click, the
// regions after "面生成", each lot's outcome and the report list after
// "属性付加", with the specified controls left as the steps leave them.
#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>

#include "ui/map_preview.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

class MapWindowTest : public WindowTest {
 protected:
  MapPreview* Map() { return Find<MapPreview>("MapPreview"); }
};

TEST_F(MapWindowTest, TheMapFollowsTheRunAndTheReportListsTheOutcome) {
  CopySample();
  OpenFolder();
  EXPECT_TRUE(Shown("MapPreview"));
  EXPECT_TRUE(Shown("FitButton"));
  EXPECT_EQ(Find<QPushButton>("FitButton")->text(), "全体表示");
  EXPECT_FALSE(Shown("ReportList"));

  form.OnDrawingClicked("sample.dxf");
  WaitForMap();
  EXPECT_TRUE(Map()->HasDrawing());

  form.OnReadLayers();
  ClickLayer("筆界");
  form.OnBuildRegions();
  WaitForMap();
  EXPECT_TRUE(Map()->HasRegions());

  ClickLayer("地番");
  form.OnAttachChibans();
  EXPECT_TRUE(boxes.shown.empty());
  WaitForMap();
  EXPECT_TRUE(Map()->HasReport());
  ASSERT_TRUE(Shown("ReportList"));
  EXPECT_EQ(ListItems("ReportList"),
            QStringList({"領域 12: 地番あり 12、地番なし 0、複数の文字 0、どの領域にもない文字 0、"
                         "地積合計 5483.19 m²",
                         "問題は見つかりませんでした"}));
  // A click on the first lot tells what it is.
  Map()->resize(400, 300);
  Map()->FitAll();
  Map()->ChooseLotAt(Map()->ToScreen(QPointF(-28400, 15740)));
  ASSERT_TRUE(Map()->ChosenLot().has_value());
  EXPECT_EQ(LotText(*Map()->ChosenLot()), "地番 123-4　地積 438.00 m²　頂点 4　領域 1");
  // The window is back at its start, as after any complete run, the drawing chosen.
  EXPECT_FALSE(Shown("List1"));
  EXPECT_EQ(Text("Text7"), PathOf("sample.dxf"));
}

TEST_F(MapWindowTest, ChoosingAnOpenPolylineDrawsItOnTheMap) {
  std::string drawing = Drawing("AC1015", {"筆界", "地番"});
  drawing.resize(drawing.size() - std::string("  0\r\nEOF\r\n").size());
  auto lines = [&drawing](std::initializer_list<std::string> add) {
    for (const std::string& line : add) (drawing += line) += "\r\n";
  };
  const std::string boundary = EncodeText("筆界", TextEncoding::kCp932);
  // A ring left open: three sides of a square, starting at (20, 5).
  lines({"  0",        "SECTION", "  2",    "ENTITIES", "  0",          "LWPOLYLINE", "100",
         "AcDbEntity", "  8",     boundary, "100",      "AcDbPolyline", " 90",        "4",
         " 70",        "0",       " 10",    "20",       " 20",          "5",          " 10",
         "30",         " 20",     "5",      " 10",      "30",           " 20",        "15",
         " 10",        "20",      " 20",    "15"});
  // Beside it a closed lot, so that the run goes on to the report.
  lines({"  0",          "LWPOLYLINE", "100", "AcDbEntity", "  8", boundary, "100",
         "AcDbPolyline", " 90",        "4",   " 70",        "1",   " 10",    "0",
         " 20",          "0",          " 10", "10",         " 20", "0",      " 10",
         "10",           " 20",        "10",  " 10",        "0",   " 20",    "10"});
  lines({"  0", "ENDSEC", "  0", "EOF"});
  WriteFile("open.dxf", drawing);
  BuildRegionsOf("open.dxf", "筆界");
  ClickLayer("地番");
  form.OnAttachChibans();
  WaitForMap();

  auto* report = Find<QListWidget>("ReportList");
  const auto open = report->findItems("[未閉合]", Qt::MatchStartsWith);
  ASSERT_EQ(open.size(), 1);
  EXPECT_EQ(Map()->ChosenOpenPolyline(), nullptr);
  report->setCurrentItem(open.front());
  ASSERT_NE(Map()->ChosenOpenPolyline(), nullptr);
  EXPECT_EQ(Map()->ChosenOpenPolyline()->points.size(), 4u);
  EXPECT_EQ(Map()->ChosenOpenPolyline()->layer, "筆界");
}

TEST_F(MapWindowTest, ChoosingAFindingCentresTheMapOnIt) {
  // One lot numbered "1" and a lot number outside it.
  std::string drawing = Drawing("AC1015", {"筆界", "地番"});
  drawing.resize(drawing.size() - std::string("  0\r\nEOF\r\n").size());
  auto lines = [&drawing](std::initializer_list<std::string> add) {
    for (const std::string& line : add) (drawing += line) += "\r\n";
  };
  const std::string boundary = EncodeText("筆界", TextEncoding::kCp932);
  const std::string text = EncodeText("地番", TextEncoding::kCp932);
  lines({"  0",        "SECTION", "  2",    "ENTITIES", "  0",          "LWPOLYLINE", "100",
         "AcDbEntity", "  8",     boundary, "100",      "AcDbPolyline", " 90",        "4",
         " 70",        "1",       " 10",    "0",        " 20",          "0",          " 10",
         "10",         " 20",     "0",      " 10",      "10",           " 20",        "10",
         " 10",        "0",       " 20",    "10"});
  lines({"  0", "TEXT", "100", "AcDbEntity", "  8", text, "100", "AcDbText", " 10", "5", " 20", "5",
         "  1", "1", "100", "AcDbText"});
  lines({"  0", "TEXT", "100", "AcDbEntity", "  8", text, "100", "AcDbText", " 10", "50", " 20",
         "40", "  1", "2", "100", "AcDbText"});
  lines({"  0", "ENDSEC", "  0", "EOF"});
  WriteFile("lots.dxf", drawing);
  BuildRegionsOf("lots.dxf", "筆界");
  ClickLayer("地番");
  form.OnAttachChibans();
  ASSERT_TRUE(boxes.shown.empty());
  WaitForMap();

  auto* report = Find<QListWidget>("ReportList");
  ASSERT_EQ(report->count(), 2);
  EXPECT_EQ(report->item(1)->text(), "[領域外の文字] 地番の文字「2」はどの領域にも入っていません");
  Map()->resize(200, 200);
  report->setCurrentRow(1);
  const QPointF centre = Map()->ToScreen(QPointF(50, 40));
  EXPECT_NEAR(centre.x(), Map()->DrawingArea().center().x(), 0.5);
  EXPECT_NEAR(centre.y(), Map()->DrawingArea().center().y(), 0.5);
}

TEST_F(MapWindowTest, AnUnprocessableDrawingLeavesTheMapEmpty) {
  WriteFile("old.dxf", Drawing("AC1009", {"筆界"}));
  OpenFolder();
  form.OnDrawingClicked("old.dxf");
  WaitForMap();
  EXPECT_FALSE(Map()->HasDrawing());
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace parquill::ui::testing
