// The site tools over the map: a lot found by its 地番, lots chosen by clicks,
// Ctrl+clicks and Shift+drags with their neighbours, counted, and written as
// SIMA, MIF/MID and DXF; on a drawing's lots after "属性付加" and on a 地図XML map.
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <cstdio>
#include <functional>

#include "ui/file_dialogs.h"
#include "ui/map_preview.h"
#include "ui/starting_place.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

// Five 10 m squares on 筆界, each drawn counter-clockwise from its lower left
// corner and numbered on 地番 in its middle: a block of four (1 and 2 below,
// 3 and 4 above, all meeting at (10, 10)) and a second "3" apart from them.
const std::vector<SquareLot> kBlock = {
    {0, 0, 10, "1"}, {10, 0, 10, "2"}, {0, 10, 10, "3"}, {10, 10, 10, "4"}, {40, 0, 10, "3"}};

std::string BlockDrawing() { return SquaresDrawing(kBlock); }

const QString kUruma = QStringLiteral(PARQUILL_SOURCE_DIR "/tests/data/mapxml/47213-3601-109.zip");

// What a shell command prints; empty when it fails.
std::string Printed(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, got);
  return ::pclose(pipe) == 0 ? out : std::string();
}

// GDAL's listing of the boundaries of a DXF file: the lines of layer 筆界.
std::string DxfBoundaries(const QString& path) {
  return Printed("ogrinfo -ro -so -sql \"SELECT * FROM entities WHERE Layer = '筆界'\" '" +
                 path.toStdString() + "'");
}

bool Installed(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Every "Name (String) = value" GDAL lists, in its order.
QStringList Values(const std::string& listing, const QString& field) {
  QStringList values;
  const QRegularExpression line(QStringLiteral("^  %1 \\(String\\) = (.*)$").arg(field),
                                QRegularExpression::MultilineOption);
  for (auto match = line.globalMatch(QString::fromStdString(listing)); match.hasNext();) {
    values << match.next().captured(1);
  }
  return values;
}

class SiteWindowTest : public WindowTest {
 protected:
  SiteWindowTest() {
    previousAsker_ = SetFileAsker([this](QWidget*, const FileQuestion& question) {
      asked << question.start;
      return answer;
    });
  }
  ~SiteWindowTest() override { SetFileAsker(previousAsker_); }

  MapPreview* Map() { return Find<MapPreview>("MapPreview"); }
  QString Counted() { return Find<QLabel>("SelectionLabel")->text(); }
  QStringList Chosen() {
    QStringList chibans;
    for (const std::string& chiban : form.Selection().Chibans()) {
      chibans << QString::fromStdString(chiban);
    }
    return chibans;
  }
  // Types `chiban` into the 地番 box and presses Enter there.
  void Search(const QString& chiban) {
    auto* box = Find<QLineEdit>("ChibanSearchEdit");
    box->setText(chiban);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &enter);
  }
  void Mouse(QEvent::Type type, QPointF world, Qt::KeyboardModifiers keys) {
    const QPointF at = Map()->ToScreen(world);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, Map()->mapToGlobal(at), Qt::LeftButton, held, keys);
    QCoreApplication::sendEvent(Map(), &event);
  }
  // A click on the drawing point `world` with `keys` held.
  void Click(QPointF world, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    Mouse(QEvent::MouseButtonPress, world, keys);
    Mouse(QEvent::MouseButtonRelease, world, keys);
  }
  // A drag with Shift held from one drawing point to another.
  void ShiftDrag(QPointF from, QPointF to) {
    Mouse(QEvent::MouseButtonPress, from, Qt::ShiftModifier);
    Mouse(QEvent::MouseMove, to, Qt::ShiftModifier);
    Mouse(QEvent::MouseButtonRelease, to, Qt::ShiftModifier);
  }
  void ConvertBlock(const char* drawing = "block.dxf") {
    WriteFile(drawing, BlockDrawing());
    BuildRegionsOf(drawing, "筆界");
    EXPECT_FALSE(Shown("SiteBar"));  // the regions have no numbers yet
    ClickLayer("地番");
    form.OnAttachChibans();
    ASSERT_TRUE(WaitForMapReadings());
    Map()->resize(400, 400);
    Map()->FitAll();
  }

  QString answer;  // what the save dialog gives
  QStringList asked;

 private:
  FileAsker previousAsker_;
};

TEST_F(SiteWindowTest, ADrawingsLotsAreFoundChosenAndCounted) {
  ConvertBlock();
  ASSERT_TRUE(Shown("SiteBar"));
  EXPECT_EQ(Counted(), "筆をクリックで選択（Ctrl+クリックで追加・解除、Shift+ドラッグで範囲）");

  // Counts worked by hand: a 10 m square has 4 corners and 100 m²; the block
  // of four has 9 corners and 400 m².
  struct Step {
    const char* what;
    std::function<void()> act;
    QStringList chosen;
    const char* counted;
  };
  const Step steps[] = {
      {"search 1", [&] { Search("1"); }, {"1"}, "選択: 筆 1、筆界点 4、地積合計 100.00 m²"},
      {"neighbours",
       [&] { Find<QPushButton>("NeighboursButton")->click(); },
       {"1", "2", "3", "4"},
       "選択: 筆 4、筆界点 9、地積合計 400.00 m²"},
      {"Ctrl+click takes 4 out",
       [&] {
         Click({15, 15}, Qt::ControlModifier);
       },
       {"1", "2", "3"},
       "選択: 筆 3、筆界点 8、地積合計 300.00 m²"},
      {"Ctrl+click adds the far 3",
       [&] {
         Click({45, 5}, Qt::ControlModifier);
       },
       {"1", "2", "3", "3"},
       "選択: 筆 4、筆界点 12、地積合計 400.00 m²"},
      {"a click chooses 2 alone",
       [&] {
         Click({15, 5});
       },
       {"2"},
       "選択: 筆 1、筆界点 4、地積合計 100.00 m²"},
      {"Shift+drag over 1 and 3",
       [&] {
         ShiftDrag({2, 2}, {4, 18});
       },
       {"1", "3"},
       "選択: 筆 2、筆界点 6、地積合計 200.00 m²"},
      {"a click beside the lots",
       [&] {
         Click({30, 30});
       },
       {},
       ""},
  };
  for (const Step& step : steps) {
    step.act();
    Map()->FitAll();  // every lot in the panel for the next click
    EXPECT_EQ(Chosen(), step.chosen) << step.what;
    if (*step.counted != '\0') {
      EXPECT_EQ(Counted(), step.counted) << step.what;
    }
    EXPECT_EQ(Map()->SelectedRegions().size(), step.chosen.size()) << step.what;
  }
  EXPECT_TRUE(boxes.shown.empty());

  // Found alone, the lot is zoomed to: its middle in the middle of the map.
  Search("4");
  const QPointF middle = Map()->ToScreen(QPointF(15, 15));
  EXPECT_NEAR(middle.x(), Map()->DrawingArea().center().x(), 0.5);
  EXPECT_NEAR(middle.y(), Map()->DrawingArea().center().y(), 0.5);
  EXPECT_EQ(Map()->SelectedRegions(), std::vector<std::size_t>{3});

  // Two lots numbered 3: a list to pick from; the second is the far one.
  Search("3");
  auto* list = Find<QListWidget>("ChibanMatchList");
  ASSERT_TRUE(Shown("ChibanMatchList"));
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), "3");
  emit list->itemActivated(list->item(1));
  EXPECT_FALSE(Shown("ChibanMatchList"));
  EXPECT_EQ(Map()->SelectedRegions(), std::vector<std::size_t>{4});

  // A number the drawing does not hold: said in red, the choice kept.
  Search("9");
  EXPECT_TRUE(form.ResultText().startsWith("地番 9 の筆は地図にありません。近い地番: "))
      << form.ResultText().toStdString();
  EXPECT_EQ(Map()->SelectedRegions(), std::vector<std::size_t>{4});
}

TEST_F(SiteWindowTest, TheChosenLotsOfADrawingAreWrittenAsTheirOwnSite) {
  ConvertBlock();
  Search("2");
  Map()->FitAll();  // the search zoomed to lot 2 alone; lot 4 back in the panel
  Click({15, 15}, Qt::ControlModifier);
  ASSERT_EQ(Chosen(), QStringList({"2", "4"}));

  answer = PathOf("site");  // the extension is added
  Find<QPushButton>("ExportSelectionButton")->click();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0], PathOf("2ほか1筆.Sim"));  // proposed beside the drawing
  EXPECT_TRUE(boxes.shown.empty());
  for (const char* name : {"site.Sim", "site.MIF", "site.MID", "site.DXF"}) {
    EXPECT_TRUE(QFile::exists(PathOf(name))) << name;
  }
  EXPECT_EQ(form.ResultText(),
            "選択した筆 2（筆界点 6）を書きました: site.Sim、site.MIF、site.MID、site.DXF（DXF は "
            "m 単位）");

  // The points numbered again in order of first use, each keeping its name in
  // the whole drawing (K2, K5, K6, K3 of lot 2, then K9 and K7 of lot 4), X
  // north and Y east: worked by hand from the squares.
  QFile sima(PathOf("site.Sim"));
  ASSERT_TRUE(sima.open(QIODevice::ReadOnly));
  const QByteArray bytes = sima.readAll();
  const QByteArray expected =
      "A00,\r\n"
      "A01,    1,K2,0,10,,\r\n"
      "A01,    2,K5,0,20,,\r\n"
      "A01,    3,K6,10,20,,\r\n"
      "A01,    4,K3,10,10,,\r\n"
      "A01,    5,K9,20,20,,\r\n"
      "A01,    6,K7,20,10,,\r\n"
      "A99,\r\n"
      "Z00,/\x95\x4d 2/,\r\n"  // 筆 in CP932
      "D00,    1,2,1,\r\n"
      "B01,    1,K2,\r\n"
      "B01,    2,K5,\r\n"
      "B01,    3,K6,\r\n"
      "B01,    4,K3,\r\n"
      "D99,\r\n"
      "Z00,/\x95\x4d 4/,\r\n"
      "D00,    2,4,1,\r\n"
      "B01,    4,K3,\r\n"
      "B01,    3,K6,\r\n"
      "B01,    5,K9,\r\n"
      "B01,    6,K7,\r\n"
      "D99,\r\n";
  EXPECT_NE(bytes.indexOf(expected), -1) << bytes.toStdString();

  if (!Installed("ogrinfo")) GTEST_SKIP() << "ogrinfo (Debian gdal-bin) is not installed";
  const std::string mif = Printed("ogrinfo -ro -al '" + PathOf("site.MIF").toStdString() + "'");
  EXPECT_EQ(Values(mif, "Chiban"), QStringList({"2", "4"})) << mif;
  const std::string dxf = Printed("ogrinfo -ro -al '" + PathOf("site.DXF").toStdString() + "'");
  QStringList numbers = Values(dxf, "Text");
  numbers.removeIf([](const QString& text) { return text.startsWith('K'); });  // 点名
  EXPECT_EQ(numbers, QStringList({"2", "4"})) << dxf;
  const std::string boundaries = DxfBoundaries(PathOf("site.DXF"));
  EXPECT_NE(boundaries.find("Feature Count: 2\n"), std::string::npos) << boundaries;
  EXPECT_NE(boundaries.find("Extent: (10.000000, 0.000000) - (20.000000, 20.000000)"),
            std::string::npos)
      << boundaries;
}

// The selection is never written over the drawing it came from.
TEST_F(SiteWindowTest, ASelectionIsNotWrittenOverTheDrawing) {
  ConvertBlock("site.DXF");
  Search("1");
  answer = PathOf("site.Sim");  // its DXF file would be the drawing
  Find<QPushButton>("ExportSelectionButton")->click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "site.DXF は入力のファイルです。別の名前を選んでください。");
  QFile drawing(PathOf("site.DXF"));
  ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
  EXPECT_EQ(drawing.readAll().toStdString(), BlockDrawing());
}

class SiteMapXmlTest : public SiteWindowTest {
 protected:
  void Open(const QString& path) {
    form.OpenMapXml(path);
    ASSERT_TRUE(WaitForMapReadings());
    Map()->resize(500, 500);
    Map()->FitAll();
  }
};

// Neighbours, points and area as an independent reading of the XML finds
// them: the lots sharing a vertex with 272-1 (272-2 and 筆界未定地-533; the
// lot outside the district is not on the map), their 15 distinct exterior
// vertices and their rings' areas by the shoelace formula.
TEST_F(SiteMapXmlTest, ALotAndItsNeighboursGoToCadInMillimetres) {
  ASSERT_TRUE(QFile::copy(kUruma, PathOf("47213-3601-109.zip")));
  Open(PathOf("47213-3601-109.zip"));
  ASSERT_TRUE(Shown("SiteBar"));
  Search("272-1");
  EXPECT_EQ(Chosen(), QStringList({"272-1"}));
  EXPECT_EQ(Counted(), "選択: 筆 1、筆界点 3、地積合計 17.53 m²");
  Find<QPushButton>("NeighboursButton")->click();
  EXPECT_EQ(Chosen(), QStringList({"272-1", "272-2", "筆界未定地-533"}));
  EXPECT_EQ(Counted(), "選択: 筆 3、筆界点 15、地積合計 1423.40 m²");

  Find<QComboBox>("unitChooser")->setCurrentIndex(1);  // mm
  ASSERT_TRUE(form.Selection().Count() == 3);          // the map and its choice stay
  answer = PathOf("site.Sim");
  Find<QPushButton>("ExportSelectionButton")->click();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(form.ResultText().endsWith("（DXF は mm 単位）")) << form.ResultText().toStdString();

  if (!Installed("ogrinfo")) GTEST_SKIP() << "ogrinfo (Debian gdal-bin) is not installed";
  const std::string mif = Printed("ogrinfo -ro -al '" + PathOf("site.MIF").toStdString() + "'");
  EXPECT_EQ(Values(mif, "Chiban"), QStringList({"272-1", "272-2", "筆界未定地-533"})) << mif;
  EXPECT_EQ(Values(mif, "Oaza"), QStringList({"与那城饒辺", "与那城饒辺", "与那城饒辺"}));
  // The DXF file in millimetres: its boundaries' extent a thousand times the MIF file's.
  auto extent = [](const std::string& listing) {
    const QRegularExpression line(
        QStringLiteral("Extent: \\(([-0-9.]+), ([-0-9.]+)\\) - \\(([-0-9.]+), ([-0-9.]+)\\)"));
    const auto match = line.match(QString::fromStdString(listing));
    std::vector<double> values;
    for (int k = 1; k <= 4; ++k) values.push_back(match.captured(k).toDouble());
    return values;
  };
  const std::vector<double> metres = extent(mif);
  const std::vector<double> millimetres = extent(DxfBoundaries(PathOf("site.DXF")));
  ASSERT_EQ(millimetres.size(), 4u);
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(millimetres[k], metres[k] * 1000, 1) << k;
}

// A ZIP of two files: the list names each lot's 大字 and file, and a
// selection stays within one file.
TEST_F(SiteMapXmlTest, AZipOfTwoFilesIsChosenFromOneFileAtATime) {
  if (!Installed("zip") || !Installed("unzip")) GTEST_SKIP() << "zip and unzip are not installed";
  const std::string folder = Folder().toStdString();
  ASSERT_EQ(std::system(("cd '" + folder + "' && unzip -q '" + kUruma.toStdString() +
                         "' -d a && unzip -q '" + kUruma.toStdString() +
                         "' -d b && zip -q -r two.zip a b")
                            .c_str()),
            0);
  Open(PathOf("two.zip"));
  Search("272");
  auto* list = Find<QListWidget>("ChibanMatchList");
  ASSERT_TRUE(Shown("ChibanMatchList"));
  ASSERT_EQ(list->count(), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_TRUE(list->item(row)->text().startsWith("272　与那城饒辺（"))
        << list->item(row)->text().toStdString();
  }
  EXPECT_NE(list->item(0)->text(), list->item(1)->text());

  // Both files lie on one place: a rectangle over all takes one file's six lots.
  ShiftDrag(Map()->ToWorld(Map()->DrawingArea().topLeft()),
            Map()->ToWorld(Map()->DrawingArea().bottomRight()));
  EXPECT_EQ(form.Selection().Count(), 6u);
  EXPECT_TRUE(form.ResultText().startsWith("選べるのは一つの地図XMLファイルの筆だけです。"))
      << form.ResultText().toStdString();
}

}  // namespace
}  // namespace parquill::ui::testing
