#include <QApplication>
#include <QMouseEvent>

#include "ui/layer_list_widget.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

const Message kNoInputFile{"入力ファイルが選択されていません。", "ファイル指定"};

class LayerListTest : public WindowTest {
 protected:
  // A drawing of version 2000 with three layers, clicked in input mode.
  void ClickDrawing(std::initializer_list<std::string_view> layers = {"0", "筆界", "地番"}) {
    WriteFile("SAMPLE.DXF", Drawing("AC1015", layers));
    WriteFile("other.dxf", Drawing("AC1014", {"x"}));
    OpenFolder();
    form.OnDrawingClicked("SAMPLE.DXF");
  }
  void ClickListItem(int row) {
    auto* list = Find<QListWidget>("List1");
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, centre, list->viewport()->mapToGlobal(centre), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier);
      QApplication::sendEvent(list->viewport(), &event);
    }
  }
  bool Selected(int row) { return Find<QListWidget>("List1")->item(row)->isSelected(); }
};

TEST_F(LayerListTest, BeforeAnyFileTheVersionIsRefusedWithAnEmptyName) {
  form.OnReadLayers();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0],
            Message({"DXFのバージョンは、です。\r処理不可能です。", "DXFのバージョン"}));
  EXPECT_EQ(Find<QListWidget>("List1")->count(), 0);
  EXPECT_FALSE(Shown("List1"));
}

TEST_F(LayerListTest, AnOldVersionIsRefusedAndLeavesNoLayersOfTheDrawingBefore) {
  WriteFile("old.dxf", Drawing("AC1009", {"x"}));
  ClickDrawing();
  form.OnReadLayers();
  form.OnDrawingClicked("old.dxf");
  boxes.shown.clear();

  form.OnReadLayers();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0],
            Message({"DXFのバージョンは、R12Jです。\r処理不可能です。", "DXFのバージョン"}));
  EXPECT_EQ(ListItems("List1"), QStringList());
  EXPECT_FALSE(Shown("List1"));
}

TEST_F(LayerListTest, ReadsTheLayersAfterAllAndShowsTheList) {
  ClickDrawing({"0", " 筆界 ", "地番"});
  form.OnReadLayers();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(ListItems("List1"), QStringList({"すべて", "0", " 筆界 ", "地番"}));
  EXPECT_TRUE(Shown("List1"));
  EXPECT_TRUE(Shown("Frame1"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LayerListTest, ReadsTheSampleDrawing) {
  form.SetFolder(PARQUILL_SOURCE_DIR "/examples");
  form.OnDrawingClicked("sample.dxf");
  form.OnReadLayers();
  const QStringList items = ListItems("List1");
  ASSERT_FALSE(items.isEmpty());
  EXPECT_EQ(items.first(), "すべて");
  EXPECT_TRUE(items.contains("筆界"));
  EXPECT_TRUE(items.contains("地番"));
}

TEST_F(LayerListTest, AfterAResetTheInputNameIsMissing) {
  ClickDrawing();
  form.OnReadLayers();
  form.ResetWindow();

  form.OnReadLayers();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], kNoInputFile);
  EXPECT_EQ(ListItems("List1"), QStringList({"すべて"}));
  EXPECT_FALSE(Shown("List1"));
}

TEST_F(LayerListTest, ADrawingThatIsGoneIsReportedAndThePointerRestored) {
  ClickDrawing();
  ASSERT_TRUE(QFile::remove(PathOf("SAMPLE.DXF")));

  form.OnReadLayers();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, "PARQUILL");
  EXPECT_TRUE(boxes.shown[0].text.starts_with("エラー番号53\r\n")) << boxes.shown[0].text;
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(Shown("List1"));
  EXPECT_FALSE(form.Busy());
}

TEST_F(LayerListTest, ClicksRevealTheOutputNameAndTheButtons) {
  struct AfterClick {
    int count;
    bool command2, command3;
  };
  // "属性付加" waits for "面生成", however often the list is clicked.
  const AfterClick steps[] = {{1, true, false}, {2, true, false}, {3, true, false}};
  ClickDrawing();
  form.OnReadLayers();
  for (const AfterClick& step : steps) {
    SCOPED_TRACE(step.count);
    ClickListItem(1);  // selects, clears, selects: every click counts
    EXPECT_EQ(form.ListClickCount(), step.count);
    EXPECT_EQ(Shown("Command2"), step.command2);
    EXPECT_EQ(Shown("Command3"), step.command3);
    EXPECT_TRUE(Shown("Op2_2"));
    EXPECT_TRUE(Find<QRadioButton>("Op2_2")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>("Op2_1")->isChecked());
    EXPECT_TRUE(Shown("Text8"));
    EXPECT_EQ(Text("Text8"), PathOf("SAMPLE.Sim"));
  }
  EXPECT_TRUE(Selected(1));
}

TEST_F(LayerListTest, AClickTogglesOnlyThatItem) {
  ClickDrawing();
  form.OnReadLayers();
  ClickListItem(1);
  ClickListItem(3);
  EXPECT_TRUE(Selected(1));
  EXPECT_TRUE(Selected(3));
  ClickListItem(1);
  EXPECT_FALSE(Selected(1));
  EXPECT_TRUE(Selected(3));
}

TEST_F(LayerListTest, OutputNameFollowsTheFolderOfTheTypedInputName) {
  struct Case {
    const char* text7;
    const char* text8;
  };
  const Case cases[] = {
      {"/data/測量/plan.dxf", "/data/測量/SAMPLE.Sim"},
      {"/plan.dxf", "/SAMPLE.Sim"},
      {"plan.dxf", "SAMPLE.Sim"},  // no folder: the output name alone
  };
  ClickDrawing();
  form.OnReadLayers();
  for (const Case& c : cases) {
    Find<QLineEdit>("Text7")->setText(QString::fromUtf8(c.text7));
    ClickListItem(0);
    EXPECT_EQ(Text("Text8"), QString::fromUtf8(c.text8)) << c.text7;
  }
}

TEST_F(LayerListTest, ResetReturnsTheWindowToItsStartAndKeepsTheVersionAndNames) {
  ClickDrawing();
  form.OnReadLayers();
  ClickListItem(1);
  ClickListItem(2);
  Find<QCheckBox>("Check1")->setChecked(false);
  Find<QLineEdit>("Text1")->setText("7");

  form.ResetWindow();

  const std::pair<const char*, bool> visibility[] = {
      {"Label1", false}, {"Frame1", false},   {"List1", false},    {"Op2_2", false},
      {"Text8", false},  {"Command2", false}, {"Command3", false}, {"Op2_1", true},
      {"Text7", true},   {"Command1", true},  {"Check1", true},    {"Text1", false}};
  for (const auto& [name, shown] : visibility) EXPECT_EQ(Shown(name), shown) << name;
  EXPECT_TRUE(Find<QRadioButton>("Op2_1")->isChecked());
  EXPECT_EQ(Text("Text7"), "");
  EXPECT_EQ(Text("Text8"), "");
  EXPECT_EQ(Find<QListWidget>("List1")->count(), 0);
  EXPECT_EQ(Find<QLabel>("Label1")->text(), "");
  // Left as they were.
  EXPECT_EQ(form.DxfVersionCode(), 2000);
  EXPECT_EQ(form.DxfVersionName(), "2000");
  EXPECT_EQ(form.OutputFileName(), "SAMPLE.Sim");
  EXPECT_EQ(form.ListClickCount(), 2);
  EXPECT_FALSE(Find<QCheckBox>("Check1")->isChecked());
  EXPECT_EQ(form.Folder(), Folder());
  EXPECT_EQ(Text("Text1"), "");  // the region count of the run cleared
}

TEST_F(LayerListTest, WhileTheLayersAreReadOtherInputIsIgnored) {
  ClickDrawing();
  bool ranInsideTheStep = false;
  // Runs at the first moment the reading lets events through.
  QMetaObject::invokeMethod(
      &form,
      [&] {
        ranInsideTheStep = form.Busy();
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        form.OnDrawingClicked("other.dxf");
        form.OnLayerClicked();
        form.SetFolder("/");
        auto* dir1 = Find<QListWidget>("Dir1");
        emit dir1->itemActivated(dir1->item(0));
        auto* drive1 = Find<QComboBox>("Drive1");
        drive1->setCurrentIndex(drive1->currentIndex() == 0 ? drive1->count() - 1 : 0);
        form.OnReadLayers();
        form.OnBuildRegions();
        form.OnAttachChibans();
      },
      Qt::QueuedConnection);

  form.OnReadLayers();

  EXPECT_TRUE(ranInsideTheStep);
  EXPECT_EQ(ListItems("List1"), QStringList({"すべて", "0", "筆界", "地番"}));
  EXPECT_EQ(Text("Text7"), PathOf("SAMPLE.DXF"));
  EXPECT_EQ(form.DxfVersionCode(), 2000);
  EXPECT_EQ(form.ListClickCount(), 0);
  EXPECT_FALSE(Shown("Text8"));
  EXPECT_EQ(form.Folder(), Folder());
  EXPECT_EQ(ListItems("File1"), QStringList({"other.dxf", "SAMPLE.DXF"}));
  auto* drive1 = Find<QComboBox>("Drive1");
  EXPECT_TRUE(Folder().startsWith(drive1->currentData().toString()));
  EXPECT_FALSE(form.Busy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(LayerListWidget, KeepsEachLayerNameAsTheDrawingGaveIt) {
  LayerListWidget list;
  const std::string undecodable = "\xED\xB2\x81";  // a byte the drawing's code page did not hold
  LayerListSinkOverWidget sink(list);
  sink.Add("すべて");
  sink.Add(undecodable);
  list.item(1)->setSelected(true);
  const LayerSelection selection = list.Selection();
  EXPECT_EQ(selection.items, std::vector<std::string>({"すべて", undecodable}));
  EXPECT_EQ(selection.selected, std::vector<bool>({false, true}));
}

}  // namespace
}  // namespace parquill::ui::testing
