// The drawing the window shows is the drawing it converts: a drawing opened
// starts a new run whatever the file-name option says, a refused drawing
// leaves nothing to run, a new MIF file takes away the MID and SIMA files of
// an earlier run, and a run without regions says so in red.
#include <QDir>
#include <QFile>

#include "ui/map_preview.h"
#include "ui/starting_place.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

const QColor kFailedColour(190, 0, 0);

// An R2000 drawing of `lots` unit squares in a row on 筆界, each numbered on 地番.
std::string LotsDrawing(int lots) {
  std::vector<SquareLot> squares;
  for (int k = 0; k < lots; ++k) squares.push_back({2.0 * k, 0, 1, std::to_string(k + 1)});
  return SquaresDrawing(squares);
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class OneDrawingTest : public WindowTest {
 protected:
  QColor ResultColour() {
    return Find<QLabel>("ResultText")->palette().color(QPalette::WindowText);
  }
  MapPreview* Map() { return Find<MapPreview>("MapPreview"); }
};

// Opened after a layer of another drawing was clicked (the window in output
// mode), a drawing is the one converted, into its own folder.
TEST_F(OneDrawingTest, ADrawingOpenedAfterALayerClickIsTheOneConverted) {
  ASSERT_TRUE(QDir(Folder()).mkdir("x1"));
  ASSERT_TRUE(QDir(Folder()).mkdir("x2"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(PARQUILL_SOURCE_DIR "/examples/sample.dxf"),
                          PathOf("x1/sample.dxf")));
  WriteFile("x2/sample.dxf", LotsDrawing(6));
  ASSERT_EQ(OpenStartingPlace(form, PathOf("x2/sample.dxf")), "");
  form.OnReadLayers();
  ClickLayer("筆界");
  ASSERT_TRUE(Find<QRadioButton>("Op2_2")->isChecked());

  ASSERT_EQ(OpenStartingPlace(form, PathOf("x1/sample.dxf")), "");
  EXPECT_EQ(Text("Text7"), PathOf("x1/sample.dxf"));
  EXPECT_TRUE(Find<QRadioButton>("Op2_1")->isChecked());
  EXPECT_EQ(ListItems("List1"), QStringList());
  EXPECT_FALSE(Shown("List1"));
  EXPECT_FALSE(Shown("Command2"));
  EXPECT_EQ(form.ListClickCount(), 0);
  WaitForMap();
  EXPECT_TRUE(Map()->HasDrawing());

  form.OnReadLayers();
  ClickLayer("筆界");
  EXPECT_EQ(Text("Text8"), PathOf("x1/sample.Sim"));
  form.OnBuildRegions();
  EXPECT_EQ(form.ResultText(), "sample.MIF に 12 領域を書きました");
  EXPECT_EQ(Bytes(PathOf("x1/sample.MIF")),
            Bytes(QStringLiteral(PARQUILL_SOURCE_DIR "/examples/expected/sample.MIF")));
  EXPECT_FALSE(QFile::exists(PathOf("x2/sample.MIF")));
}

// A drawing the version check refuses, opened after a run on another: its
// refusal stays shown, and no layer list of the other is left to run on.
TEST_F(OneDrawingTest, ARefusedDrawingLeavesNothingToRun) {
  CopySample();
  WriteFile("lines.dxf", Drawing("AC1009", {"筆界", "地番"}));
  BuildRegionsOf("sample.dxf", "筆界");
  ASSERT_TRUE(Shown("Command3"));

  ASSERT_EQ(OpenStartingPlace(form, PathOf("lines.dxf")), "");
  EXPECT_EQ(form.DxfVersionName(), "R12J");
  EXPECT_TRUE(Shown("Label1"));
  EXPECT_EQ(ListItems("List1"), QStringList());
  for (const char* hidden : {"List1", "Command2", "Command3"})
    EXPECT_FALSE(Shown(hidden)) << hidden;

  // Pressed anyway (as a key could): nothing is written.
  boxes.shown.clear();
  form.OnBuildRegions();
  form.OnAttachChibans();
  for (const char* name : {"lines.MIF", "lines.MID", "lines.Sim"}) {
    EXPECT_FALSE(QFile::exists(PathOf(name))) << name;
  }
  EXPECT_FALSE(boxes.shown.empty());
}

// "面生成" after a complete run on the same output name: the MID and SIMA
// files of that run are removed with the new MIF file, and named.
TEST_F(OneDrawingTest, ANewMifTakesAwayTheMidAndSimaOfTheRunBefore) {
  CopySample();
  BuildRegionsOf("sample.dxf", "筆界");
  ClickLayer("地番");
  form.OnAttachChibans();
  ASSERT_TRUE(QFile::exists(PathOf("sample.MID")));
  ASSERT_TRUE(QFile::exists(PathOf("sample.Sim")));

  form.OnReadLayers();
  ClickLayer("すべて");
  form.OnBuildRegions();
  EXPECT_EQ(form.ResultText(),
            "sample.MIF に 13 領域を書きました（閉じていないポリライン 1 本は面にしていません）"
            "（前の実行の sample.MID と sample.Sim を削除しました）");
  EXPECT_NE(ResultColour(), kFailedColour);
  EXPECT_FALSE(QFile::exists(PathOf("sample.MID")));
  EXPECT_FALSE(QFile::exists(PathOf("sample.Sim")));
  EXPECT_TRUE(Shown("Command3"));
}

// The lot-number layer taken for the boundary: no region, said in red with
// the reason, and "属性付加" not offered.
TEST_F(OneDrawingTest, NoRegionsAreSaidInRedWithTheReason) {
  CopySample();
  BuildRegionsOf("sample.dxf", "地番");
  EXPECT_EQ(form.ResultText(),
            "sample.MIF に 0 領域を書きました: レイヤ「地番」に閉じたポリラインがありません");
  EXPECT_EQ(ResultColour(), kFailedColour);
  EXPECT_TRUE(QFile::exists(PathOf("sample.MIF")));
  ClickLayer("筆界");
  EXPECT_FALSE(Shown("Command3"));
  EXPECT_TRUE(Shown("Command2"));
}

// After a complete run, reading the layers again starts from the drawing's
// map: the last run's regions, report and lot are gone.
TEST_F(OneDrawingTest, TheNextRunStartsWithTheDrawingsMap) {
  CopySample();
  BuildRegionsOf("sample.dxf", "筆界");
  ClickLayer("地番");
  form.OnAttachChibans();
  WaitForMap();
  ASSERT_TRUE(Map()->HasReport());
  ASSERT_TRUE(Shown("ReportList"));

  form.OnReadLayers();
  WaitForMap();
  EXPECT_TRUE(Map()->HasDrawing());
  EXPECT_FALSE(Map()->HasReport());
  EXPECT_FALSE(Map()->HasRegions());
  EXPECT_FALSE(Shown("ReportList"));
  EXPECT_EQ(form.ResultText(), "sample.dxf のレイヤ 8 件を読みました");
}

}  // namespace
}  // namespace parquill::ui::testing
