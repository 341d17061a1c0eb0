// The window as a surveyor's daily tool: the keyboard alone, a drawing
// dropped on the window, the folder and the zone remembered, the file list
// following its folder.
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include "ui/map_preview.h"
#include "ui/window_step_host.h"
#include "ui/zone_chooser.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

void Press(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

class DailyUseTest : public WindowTest {
 protected:
  // Drops `paths` on the window as the file manager does.
  void Drop(const QStringList& paths) {
    QMimeData dropped;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    dropped.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted()) return;  // the window turns the drop away
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
  }
};

TEST_F(DailyUseTest, ArrowsSpaceAndEnterOnTheFileListActAsAClick) {
  WriteFile("a.dxf", Drawing("AC1015", {}));
  WriteFile("b.dxf", Drawing("AC1014", {}));
  OpenFolder();
  auto* files = Find<QListWidget>("File1");
  Press(files, Qt::Key_Down);
  EXPECT_EQ(Text("Text7"), PathOf("a.dxf"));
  Press(files, Qt::Key_Down);
  EXPECT_EQ(Text("Text7"), PathOf("b.dxf"));
  for (int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
    form.OnDrawingClicked("a.dxf");  // another file chosen meanwhile
    Press(files, key);
    EXPECT_EQ(Text("Text7"), PathOf("b.dxf")) << key;
    EXPECT_EQ(form.DxfVersionName(), "R14J") << key;
  }
}

TEST_F(DailyUseTest, EnterPressesTheButtonAndFocusGoesWhereTheUserWorksNext) {
  CopySample();
  OpenFolder();
  form.OnDrawingClicked("sample.dxf");
  Press(Find<QPushButton>("Command1"), Qt::Key_Return);
  EXPECT_TRUE(Shown("List1"));
  EXPECT_EQ(form.focusWidget(), Find<QWidget>("List1"));

  ClickLayer("筆界");
  Press(Find<QPushButton>("Command2"), Qt::Key_Enter);
  EXPECT_FALSE(Shown("Command2"));
  EXPECT_EQ(form.focusWidget(), Find<QWidget>("List1"));  // never the X/Y box

  ClickLayer("地番");
  Press(Find<QPushButton>("Command3"), Qt::Key_Return);
  EXPECT_TRUE(QFile::exists(PathOf("sample.Sim")));
  EXPECT_EQ(form.focusWidget(), Find<QWidget>("File1"));
}

TEST_F(DailyUseTest, ADroppedDrawingIsChosenInItsFolder) {
  ASSERT_TRUE(QDir(Folder()).mkpath("area2"));
  WriteFile("area2/Plan.DXF", Drawing("AC1015", {}));
  WriteFile("notes.txt", "");
  form.SetFolder("/");

  Drop({PathOf("notes.txt")});  // not a drawing: nothing happens
  EXPECT_EQ(form.Folder(), "/");

  Drop({PathOf("notes.txt"), PathOf("area2/Plan.DXF")});
  EXPECT_EQ(form.Folder(), PathOf("area2"));
  EXPECT_EQ(Find<QListWidget>("File1")->currentItem()->text(), "Plan.DXF");
  EXPECT_EQ(Text("Text7"), PathOf("area2/Plan.DXF"));
  EXPECT_EQ(form.DxfVersionName(), "2000");
}

TEST_F(DailyUseTest, TheNextWindowStartsInTheLastFolderWithTheLastZone) {
  EXPECT_EQ(form.PlaneZone(), 0);
  EXPECT_EQ(Find<QComboBox>("ZoneChooser")->currentText(), "指定なし");
  OpenFolder();
  Find<QComboBox>("ZoneChooser")->setCurrentIndex(9);
  EXPECT_EQ(form.PlaneZone(), 9);

  CapturedBoxes otherBoxes;
  MainWindow next(otherBoxes);
  EXPECT_EQ(next.Folder(), Folder());
  EXPECT_EQ(next.PlaneZone(), 9);
  EXPECT_EQ(next.findChild<QComboBox*>("ZoneChooser")->currentText(),
            "9系 東京都・福島・栃木・茨城・埼玉・千葉・群馬・神奈川");
}

TEST_F(DailyUseTest, TheFileListFollowsItsFolderKeepingTheChosenFile) {
  WriteFile("a.dxf", Drawing("AC1015", {}));
  OpenFolder();
  ASSERT_TRUE(form.ChooseFile("a.dxf"));
  WriteFile("b.dxf", Drawing("AC1015", {}));
  QElapsedTimer waited;
  waited.start();
  while (ListItems("File1").size() < 2 && waited.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  EXPECT_EQ(ListItems("File1"), QStringList({"a.dxf", "b.dxf"}));
  EXPECT_EQ(Find<QListWidget>("File1")->currentItem()->text(), "a.dxf");
}

TEST_F(DailyUseTest, TheMapSaysWhenADrawingsVersionCannotBeProcessed) {
  WriteFile("old.dxf", Drawing("AC1009", {}));
  OpenFolder();
  auto* map = Find<MapPreview>("MapPreview");
  EXPECT_TRUE(map->Placeholder().startsWith("DXF ファイルを選ぶと"));
  form.OnDrawingClicked("old.dxf");
  EXPECT_EQ(map->Placeholder(), "DXF のバージョンが R12J のため、この図面は処理できません");
}

// A step's reading shows the share of the drawing read only once it has
// taken half a second, and the bar goes when the step ends.
TEST(ShareReadBar, ShownForALongReadingOnly) {
  QLineEdit regionNumber;
  QProgressBar bar;
  bar.setRange(0, 100);
  bar.setVisible(false);
  {
    WindowStepHost host(regionNumber, bar);
    host.ShowShareRead(0.1);
    EXPECT_FALSE(bar.isVisibleTo(nullptr)) << "a quick reading shows nothing";
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 600) {
    }
    host.ShowShareRead(0.42);
    EXPECT_TRUE(bar.isVisibleTo(nullptr));
    EXPECT_EQ(bar.value(), 42);
  }
  EXPECT_FALSE(bar.isVisibleTo(nullptr));
}

}  // namespace
}  // namespace parquill::ui::testing
