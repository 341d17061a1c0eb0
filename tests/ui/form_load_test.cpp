#include <QAbstractItemView>
#include <QCoreApplication>
#include <QImage>
#include <QLayout>
#include <QProcess>
#include <QResizeEvent>
#include <QScreen>

#include "ui/caption_label.h"
#include "ui/dxf_file_list.h"
#include "ui/form_placement.h"
#include "ui/whole_controls.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

class FormLoadTest : public WindowTest {
 protected:
  // Shows the window at `size` (the least its layout allows when empty), laid out.
  void ShowAt(QSize size) {
    form.show();
    QCoreApplication::sendPostedEvents();
    form.setMinimumSize(0, 0);
    form.resize(size.isEmpty() ? form.layout()->minimumSize() : size);
    QCoreApplication::sendPostedEvents();
    form.layout()->activate();
  }
};

TEST_F(FormLoadTest, EveryControlHasItsKindCaptionAndVisibility) {
  struct Row {
    const char* name;
    const char* kind;
    const char* caption;
    bool visible;
  };
  const Row rows[] = {
      {"Drive1", "QComboBox", nullptr, true},
      {"Dir1", "QListWidget", nullptr, true},
      {"File1", "QListWidget", nullptr, true},
      {"Label1", "QLabel", "", false},
      {"Frame4", "QGroupBox", "入出力ファイル名指定", true},
      {"Op2_1", "QRadioButton", "入力ファイル名", true},
      {"Text7", "QLineEdit", "", true},
      {"Op2_2", "QRadioButton", "出力ファイル名", false},
      {"Text8", "QLineEdit", "", false},
      {"Frame1", "QGroupBox", "抽出レイヤ選択", false},
      {"List1", "QListWidget", nullptr, false},
      {"SettingsFrame", "QGroupBox", "変換の設定", true},
      {"Check1", "QCheckBox", "XY座標を入れ替え(通常)", true},
      {"ZoneCaption", "QLabel", "座標系:", true},
      {"DatumCaption", "QLabel", "測地系:", true},
      {"DatumChooser", "QComboBox", nullptr, true},
      {"UnitCaption", "QLabel", "単位:", true},
      {"unitChooser", "QComboBox", nullptr, true},
      {"RegionCaption", "QLabel", "領域数:", false},
      {"Text1", "QLineEdit", "", false},
      {"Command1", "QPushButton", "レイア読み込み", true},
      {"Command2", "QPushButton", "面生成", false},
      {"Command3", "QPushButton", "属性付加", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QWidget* control = Find<QWidget>(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->inherits(row.kind));
    if (row.caption != nullptr) {
      const char* property = control->inherits("QGroupBox") ? "title" : "text";
      EXPECT_EQ(control->property(property).toString(), QString::fromUtf8(row.caption));
    }
    EXPECT_EQ(!control->isHidden(), row.visible);
  }
}

TEST_F(FormLoadTest, ControlsInsideTheirFrames) {
  const std::pair<const char*, const char*> cases[] = {
      {"Op2_1", "Frame4"},
      {"Text7", "Frame4"},
      {"Op2_2", "Frame4"},
      {"Text8", "Frame4"},
      {"List1", "Frame1"},
      {"Check1", "SettingsFrame"},
      {"ZoneChooser", "SettingsFrame"},
      {"DatumChooser", "SettingsFrame"},
      {"unitChooser", "SettingsFrame"},
      {"FromLinesCheck", "SettingsFrame"},
  };
  for (const auto& [name, frame] : cases) {
    EXPECT_EQ(Find<QWidget>(name)->parentWidget()->objectName(), frame) << name;
  }
}

TEST_F(FormLoadTest, TheUnitsAreMetresOrMillimetresAndRemembered) {
  auto* units = Find<QComboBox>("unitChooser");
  ASSERT_EQ(units->count(), 2);
  EXPECT_EQ(units->itemText(0), "m");
  EXPECT_EQ(units->itemText(1), "mm");
  EXPECT_FALSE(form.MillimetreUnits());
  units->setCurrentIndex(1);
  EXPECT_TRUE(form.MillimetreUnits());

  CapturedBoxes otherBoxes;
  MainWindow next(otherBoxes);
  EXPECT_TRUE(next.MillimetreUnits());
}

TEST_F(FormLoadTest, StartingState) {
  EXPECT_EQ(form.windowTitle(), "ORVEK PARQUILL");
  EXPECT_FALSE(form.windowIcon().pixmap(32, 32).isNull());
  EXPECT_TRUE(Find<QRadioButton>("Op2_1")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("Op2_2")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("Check1")->isChecked());
  EXPECT_EQ(Find<QListWidget>("List1")->count(), 0);
  EXPECT_EQ(Find<QListWidget>("List1")->selectionMode(), QAbstractItemView::MultiSelection);
  EXPECT_EQ(form.DxfVersionCode(), 0);
  EXPECT_EQ(form.DxfVersionName(), "");
  EXPECT_EQ(form.OutputFileName(), "");
  EXPECT_EQ(form.ListClickCount(), 0);
  EXPECT_EQ(form.Folder(), QDir::currentPath());  // the folder list starts in the current folder
}

TEST_F(FormLoadTest, TabOrderFollowsTheControlsTabPositions) {
  // The new controls among them: 開く… after the drive box, 参照… after the
  // output name, the settings after the X/Y exchange.
  const QStringList expected = {"Command1",    "Drive1",         "OpenButton",  "Dir1",
                                "File1",       "Op2_1",          "Text7",       "Op2_2",
                                "Text8",       "BrowseButton",   "List1",       "Command2",
                                "Command3",    "Check1",         "ZoneChooser", "DatumChooser",
                                "unitChooser", "FromLinesCheck", "Text1"};
  QStringList order;
  QWidget* start = Find<QWidget>("Command1");
  QWidget* widget = start;
  do {
    if (expected.contains(widget->objectName()) && !order.contains(widget->objectName())) {
      order << widget->objectName();
    }
    widget = widget->nextInFocusChain();
  } while (widget != start);
  EXPECT_EQ(order, expected);
}

TEST(FormPlaceFor, MostOfTheAvailableAreaCentredNeverBeyondIt) {
  struct Case {
    const char* name;
    QRect available;
    QSize least;
    QSize atLeast;
  };
  const Case cases[] = {
      {"laptop", QRect(0, 0, 1366, 768), QSize(900, 500), QSize(1100, 640)},
      {"laptop under a panel", QRect(0, 32, 1366, 736), QSize(900, 500), QSize(1100, 640)},
      {"1600x1000 at scale 1.5", QRect(0, 0, 1067, 667), QSize(900, 500), QSize(900, 500)},
      {"second screen", QRect(1920, 0, 1280, 1024), QSize(900, 500), QSize(1100, 900)},
      {"larger least than the screen", QRect(0, 0, 800, 600), QSize(5000, 5000), QSize(800, 600)},
      {"wide screen", QRect(0, 0, 3840, 2160), QSize(900, 500), QSize(1600, 1000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QRect place = FormPlaceFor(c.available, c.least);
    EXPECT_TRUE(c.available.contains(place));
    EXPECT_GE(place.width(), c.atLeast.width());
    EXPECT_GE(place.height(), c.atLeast.height());
    EXPECT_LE(std::abs(place.center().x() - c.available.center().x()), 1);
    EXPECT_LE(std::abs(place.center().y() - c.available.center().y()), 1);
  }
}

// The window as it opens on a screen of the given size and scale, drawn into
// a picture by the program itself (which fails when a control is cut, too
// small or over another): the picture's size in device pixels, empty when
// the run failed.
QSize OpenedWindow(QSize screen, const char* scale, const QTemporaryDir& work) {
  QFile config(work.filePath("screen.json"));
  EXPECT_TRUE(config.open(QIODevice::WriteOnly));
  config.write(QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %1,)"
                              R"( "height": %2, "logicalDpi": 96, "dpr": 1}]})")
                   .arg(screen.width())
                   .arg(screen.height())
                   .toUtf8());
  config.close();
  QProcess window;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
  environment.insert("QT_SCALE_FACTOR", scale);
  environment.insert("XDG_CONFIG_HOME", work.path());
  environment.insert("PARQUILL_SCREENSHOT", work.filePath("window.png"));
  environment.insert("PARQUILL_SCREENSHOT_CHECK", "1");
  window.setProcessEnvironment(environment);
  window.setWorkingDirectory(work.path());
  window.start(QStringLiteral(PARQUILL_WINDOW_PATH),
               {QStringLiteral(PARQUILL_SOURCE_DIR "/examples/sample.dxf")});
  if (!window.waitForFinished(30000) || window.exitCode() != 0) {
    ADD_FAILURE() << window.readAllStandardError().toStdString();
    return {};
  }
  return QImage(work.filePath("window.png")).size();
}

TEST(WindowOnScreens, OpensLargeOnALaptopAndWithinAScaledScreen) {
  struct Case {
    QSize screen;
    const char* scale;
    QSize atLeast;  // device pixels
  };
  const Case cases[] = {
      {QSize(1366, 768), "1", QSize(1100, 640)},
      {QSize(1600, 1000), "1.5", QSize(1100, 640)},
      // 1920x1080 at scale 2, less a 48 pixel panel and a title bar of 30 points.
      {QSize(1920, 1080 - 48 - 60), "2", QSize(1600, 800)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    const QTemporaryDir work;
    const QSize window = OpenedWindow(c.screen, c.scale, work);
    EXPECT_GE(window.width(), c.atLeast.width());
    EXPECT_GE(window.height(), c.atLeast.height());
    EXPECT_LE(window.width(), c.screen.width());
    EXPECT_LE(window.height(), c.screen.height());
  }
}

TEST_F(FormLoadTest, NoControlOverAnotherAtTheLeastSizeNorOnALaptop) {
  for (const char* name : {"Label1", "Frame1", "List1", "Op2_2", "Text8", "Text1", "Command2",
                           "Command3", "ShareReadBar", "ReportList"}) {
    Find<QWidget>(name)->setVisible(true);  // every control at once
  }
  for (const QSize size : {QSize(), QSize(1100, 640), QSize(1600, 1000)}) {
    SCOPED_TRACE(size.width());
    ShowAt(size);
    EXPECT_EQ(ControlsNotWhole(form, MainWindow::kLeastMapWidth), QStringList());
  }
}

TEST_F(FormLoadTest, TheListsAndTheMapGrowWithTheWindow) {
  Find<QWidget>("ReportList")->setVisible(true);
  const char* const growing[] = {"Dir1", "File1", "MapPreview", "ReportList"};
  ShowAt(QSize());
  std::vector<QSize> small;
  for (const char* name : growing) small.push_back(Find<QWidget>(name)->size());
  ShowAt(form.size() + QSize(400, 300));
  for (std::size_t i = 0; i < std::size(growing); ++i) {
    const QSize large = Find<QWidget>(growing[i])->size();
    EXPECT_GT(large.height(), small[i].height()) << growing[i];
    EXPECT_GT(large.width(), small[i].width()) << growing[i];
  }
}

TEST_F(FormLoadTest, EachZoneNamesItsPrefecturesUnderItsNumber) {
  auto* zones = Find<QComboBox>("ZoneChooser");
  ASSERT_EQ(zones->count(), 20);
  const std::pair<int, const char*> cases[] = {
      {0, "指定なし"},
      {1, "1系 長崎・"},
      {6, "6系 京都府・大阪府・"},
      {9, "9系 東京都・福島・栃木・茨城・埼玉・千葉・群馬・神奈川"},
      {12, "12系 北海道"},
      {16, "16系 沖縄"},
      {19, "19系 東京都 南鳥島"},
  };
  for (const auto& [zone, entry] : cases) {
    zones->setCurrentIndex(zone);
    EXPECT_EQ(form.PlaneZone(), zone);
    EXPECT_TRUE(zones->currentText().startsWith(QString::fromUtf8(entry)))
        << zones->currentText().toStdString();
  }
}

TEST_F(FormLoadTest, CaptionsNeitherWrapNorClip) {
  WriteFile("v.dxf", Drawing("AC1015", {}));
  WriteFile("old.dxf", Drawing("AC1009", {}));
  OpenFolder();
  auto* label = Find<CaptionLabel>("Label1");
  form.OnDrawingClicked("v.dxf");
  EXPECT_EQ(label->Lines(), QStringList({"DXFのバージョンは、2000です。"}));
  form.OnDrawingClicked("old.dxf");  // a sentence a line, none cut
  EXPECT_EQ(label->Lines(), QStringList({"DXFのバージョンは、R12Jです。", "処理不可能です。"}));
  EXPECT_GE(label->height(), 2 * label->fontMetrics().lineSpacing());
  auto* check = Find<QCheckBox>("Check1");
  EXPECT_GE(check->height(), check->sizeHint().height());  // the square whole
}

}  // namespace
}  // namespace parquill::ui::testing
