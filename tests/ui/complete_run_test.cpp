// One complete run in the window, with the mouse alone: the sample drawing
// clicked, its layers read, the boundary layer chosen for "面生成", the
// lot-number layer for "属性付加", and the window back at its start.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>

#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

const QString kExpected = QStringLiteral(PARQUILL_SOURCE_DIR "/examples/expected/");

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CompleteRunTest : public WindowTest {};

TEST_F(CompleteRunTest, FromTheDrawingToTheSimaFileAndBackToTheStart) {
  CopySample();
  OpenFolder();
  ASSERT_TRUE(form.ChooseFile("sample.dxf"));
  form.OnReadLayers();
  ClickLayer("筆界");
  EXPECT_EQ(Text("Text8"), PathOf("sample.Sim"));
  EXPECT_TRUE(Shown("Command2"));
  form.OnBuildRegions();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(Shown("Command2"));
  EXPECT_FALSE(Shown("Op2_2"));
  EXPECT_TRUE(Shown("Command3"));
  EXPECT_TRUE(Find<QListWidget>("List1")->selectedItems().isEmpty());

  ClickLayer("地番");
  form.OnAttachChibans();
  EXPECT_TRUE(boxes.shown.empty());
  for (const char* name : {"sample.MIF", "sample.MID", "sample.Sim"}) {
    EXPECT_EQ(Bytes(PathOf(name)), Bytes(kExpected + name)) << name;
  }

  // Back at the start, the region count cleared, the drawing still chosen.
  for (const char* hidden :
       {"Frame1", "List1", "Op2_2", "Text8", "Command2", "Command3", "Text1"}) {
    EXPECT_FALSE(Shown(hidden)) << hidden;
  }
  EXPECT_TRUE(Find<QRadioButton>("Op2_1")->isChecked());
  EXPECT_EQ(Text("Text7"), PathOf("sample.dxf"));
  ASSERT_NE(Find<QListWidget>("File1")->currentItem(), nullptr);
  EXPECT_EQ(Find<QListWidget>("File1")->currentItem()->text(), "sample.dxf");
  EXPECT_EQ(Find<QLabel>("Label1")->text(), QStringLiteral("DXFのバージョンは、2000です。"));
  EXPECT_EQ(Text("Text8"), "");
  EXPECT_EQ(Text("Text1"), "");
  EXPECT_EQ(form.ListClickCount(), 0);
  EXPECT_EQ(form.DxfVersionCode(), 2000);
  EXPECT_EQ(form.OutputFileName(), "sample.Sim");

  // The layers are read again at once.
  form.OnReadLayers();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(Shown("List1"));
}

TEST_F(CompleteRunTest, ARefusedAttachmentLeavesTheWindowAsItWas) {
  CopySample();
  BuildRegionsOf("sample.dxf", "筆界");
  ClickLayer("筆界");
  ClickLayer("地番");  // two layers selected: the text reader refuses
  form.OnAttachChibans();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], Message({"レイアが複数選択されています。", "レイア選択"}));
  EXPECT_TRUE(Shown("Command3"));
  EXPECT_TRUE(Shown("List1"));
  EXPECT_EQ(form.ListClickCount(), 3);
  EXPECT_FALSE(QFile::exists(PathOf("sample.MID")));
}

TEST_F(CompleteRunTest, AFailedConversionIsShownAndTheRunStillEnds) {
  CopySample();
  BuildRegionsOf("sample.dxf", "筆界");
  ClickLayer("地番");
  ASSERT_TRUE(QDir(Folder()).mkdir("sample.Sim"));  // the SIMA file cannot be created
  form.OnAttachChibans();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, "Brantole");
  EXPECT_EQ(Bytes(PathOf("sample.MID")), Bytes(kExpected + "sample.MID"));
  EXPECT_EQ(Text("Text7"), PathOf("sample.dxf"));
  EXPECT_EQ(form.ListClickCount(), 0);
}

TEST_F(CompleteRunTest, ATrappedAttachmentLeavesTheWindowAsItWas) {
  CopySample();
  BuildRegionsOf("sample.dxf", "筆界");
  ClickLayer("地番");
  // The MID file cannot be made: the attachment traps it.
  ASSERT_TRUE(QDir(Folder()).mkdir("sample.MID"));
  form.OnAttachChibans();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, "TESSARO");
  EXPECT_TRUE(boxes.shown[0].text.starts_with("エラー番号")) << boxes.shown[0].text;
  EXPECT_TRUE(Shown("List1"));  // the trap leaves the window as it was
}

// The zone chosen beside the map goes to the region build: the MIF file's
// coordinate system line names it.
TEST_F(CompleteRunTest, TheZoneChosenNamesTheMifCoordinateSystem) {
  CopySample();
  OpenFolder();
  Find<QComboBox>("ZoneChooser")->setCurrentIndex(9);
  form.OnDrawingClicked("sample.dxf");
  form.OnReadLayers();
  ClickLayer("筆界");
  form.OnBuildRegions();
  EXPECT_TRUE(Bytes(PathOf("sample.MIF"))
                  .contains("\r\nCoordSys Earth Projection 8, 104, \"m\", 139.833333333333, 36, "
                            "0.9999, 0, 0\r\n"));
}

// JGD2000 chosen beside the zone: the MIF file names MapInfo's datum 152. The
// choice is remembered, and offered only with a zone.
TEST_F(CompleteRunTest, TheDatumChosenGoesToTheMifFileAndIsRemembered) {
  auto* datum = Find<QComboBox>("DatumChooser");
  ASSERT_EQ(datum->count(), 2);
  EXPECT_EQ(datum->currentText(), "JGD2011");
  EXPECT_EQ(form.Datum(), PlaneDatum::kJgd2011);
  EXPECT_FALSE(datum->isEnabled());  // 指定なし: no datum in the MIF file
  Find<QComboBox>("ZoneChooser")->setCurrentIndex(2);
  EXPECT_TRUE(datum->isEnabled());
  datum->setCurrentIndex(1);
  EXPECT_EQ(form.Datum(), PlaneDatum::kJgd2000);

  CopySample();
  BuildRegionsOf("sample.dxf", "筆界");
  EXPECT_TRUE(
      Bytes(PathOf("sample.MIF")).contains("\r\nCoordSys Earth Projection 8, 152, \"m\", "));

  CapturedBoxes otherBoxes;
  MainWindow next(otherBoxes);
  EXPECT_EQ(next.Datum(), PlaneDatum::kJgd2000);
}

// "線から筆を作る" ticked: an R12 drawing whose lots are lines is processable,
// and the same steps build its lots from the lines.
TEST_F(CompleteRunTest, LotsFromLinesOfAnR12Drawing) {
  ASSERT_TRUE(QFile::copy(QStringLiteral(PARQUILL_SOURCE_DIR "/tests/data/ezdxf_r12_lots.dxf"),
                          PathOf("r12.dxf")));
  OpenFolder();
  form.OnDrawingClicked("r12.dxf");
  EXPECT_TRUE(Find<QLabel>("Label1")->text().endsWith(QStringLiteral("処理不可能です。")));
  Find<QCheckBox>("FromLinesCheck")->setChecked(true);
  EXPECT_EQ(Find<QLabel>("Label1")->text(), QStringLiteral("DXFのバージョンは、R12Jです。"));
  form.OnReadLayers();
  ClickLayer("LOTLINES");
  form.OnBuildRegions();
  ClickLayer("LOTNO");
  form.OnAttachChibans();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(Bytes(PathOf("r12.MID")), QByteArray("1,12-3\r\n2,12-4\r\n"));
}

// The window's three buttons and the command line give one drawing of lines
// the same regions, in the same order, and the same files.
TEST_F(CompleteRunTest, LotsFromLinesAsTheCommandLineMakesThem) {
  const auto run = [](const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60'000) && process.exitCode() == 0;
  };
  ASSERT_TRUE(
      run(QStringLiteral(PARQUILL_LINE_DRAWING_GENERATOR),
          {"--rows", "4", "--cols", "5", "--text-order", "reversed", "-o", PathOf("lines.dxf")}));
  ASSERT_TRUE(QDir(Folder()).mkdir("cli"));
  ASSERT_TRUE(run(QStringLiteral(PARQUILL_CLI_PATH),
                  {"convert", PathOf("lines.dxf"), "--from-lines", "--boundary", "筆界", "--text",
                   "地番", "--output", PathOf("cli/lines.Sim")}));
  OpenFolder();
  Find<QCheckBox>("FromLinesCheck")->setChecked(true);
  form.OnDrawingClicked("lines.dxf");
  form.OnReadLayers();
  ClickLayer("筆界");
  form.OnBuildRegions();
  ClickLayer("地番");
  form.OnAttachChibans();
  EXPECT_TRUE(boxes.shown.empty());
  for (const char* name : {"lines.MIF", "lines.MID", "lines.Sim"}) {
    EXPECT_FALSE(Bytes(PathOf(name)).isEmpty()) << name;
    EXPECT_EQ(Bytes(PathOf(name)), Bytes(PathOf(QStringLiteral("cli/") + name))) << name;
  }
}

}  // namespace
}  // namespace parquill::ui::testing
