#include <QAbstractItemView>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QScreen>

#include "ui/caption_label.h"
#include "ui/control_layout.h"
#include "ui/dxf_file_list.h"
#include "ui/form_placement.h"
#include "ui/whole_controls.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

class FormLoadTest : public WindowTest {};

TEST_F(FormLoadTest, EveryControlHasItsKindCaptionPlaceAndVisibility) {
  struct Row {
    const char* name;
    const char* kind;
    const char* caption;
    int left, top, width, height;  // twips, within the window or Frame4: the least place
    bool visible;
  };
  const Row rows[] = {
      {"Drive1", "QComboBox", nullptr, 240, 240, 2655, 300, true},
      {"Dir1", "QListWidget", nullptr, 240, 720, 2655, 2610, true},
      {"File1", "QListWidget", nullptr, 3000, 720, 2415, 2610, true},
      {"Label1", "QLabel", "", 5520, 2880, 2535, 495, false},
      {"Frame4", "QGroupBox", "入出力ファイル名指定", 240, 3600, 5055, 1815, true},
      {"Op2_1", "QRadioButton", "入力ファイル名", 240, 360, 2175, 255, true},
      {"Text7", "QLineEdit", "", 120, 600, 4815, 270, true},
      {"Op2_2", "QRadioButton", "出力ファイル名", 240, 960, 1575, 255, false},
      {"Text8", "QLineEdit", "", 120, 1320, 4815, 270, false},
      {"Frame1", "QGroupBox", "抽出レイヤ選択", 5520, 3720, 2535, 2655, false},
      {"List1", "QListWidget", nullptr, 5640, 3960, 2295, 2160, false},
      {"Check1", "QCheckBox", "XY座標を入れ替え(通常)", 360, 5520, 2895, 180, true},
      {"Text1", "QLineEdit", "", 3720, 5520, 1575, 270, false},
      {"Command1", "QPushButton", "レイア読み込み", 360, 5760, 1575, 615, true},
      {"Command2", "QPushButton", "面生成", 2040, 5760, 1575, 615, false},
      {"Command3", "QPushButton", "属性付加", 3720, 5760, 1575, 615, false},
  };
  const int dpi = form.logicalDpiX();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QWidget* control = Find<QWidget>(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->inherits(row.kind));
    if (row.caption != nullptr) {
      const char* property = control->inherits("QGroupBox") ? "title" : "text";
      EXPECT_EQ(control->property(property).toString(), QString::fromUtf8(row.caption));
    }
    // At its designed place or grown (and moved on) for the fonts, its caption whole.
    const QRect designed = TwipsRectToPixels(row.left, row.top, row.width, row.height, dpi);
    const QRect placed = control->geometry();
    EXPECT_GE(placed.left(), designed.left());
    EXPECT_GE(placed.top(), designed.top());
    EXPECT_GE(placed.width(), std::max(designed.width(), LeastSize(*control).width()));
    EXPECT_GE(placed.height(), std::max(designed.height(), LeastSize(*control).height()));
    EXPECT_EQ(!control->isHidden(), row.visible);
  }
}

TEST_F(FormLoadTest, ControlsInsideTheNameFrame) {
  for (const char* name : {"Op2_1", "Text7", "Op2_2", "Text8"}) {
    EXPECT_EQ(Find<QWidget>(name)->parentWidget()->objectName(), "Frame4") << name;
  }
  EXPECT_EQ(Find<QWidget>("List1")->parentWidget(), &form);  // drawn over Frame1, not in it
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
  const QStringList expected = {"Command1", "Drive1", "Dir1",  "File1", "Op2_1",
                                "Text7",    "Op2_2",  "Text8", "List1", "Command2",
                                "Command3", "Check1", "Text1"};
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

TEST(TwipsToPixels, FifteenTwipsArePixelAt96DpiAndScaleWithDpi) {
  struct Case {
    int twips, dpi, pixels;
  };
  const Case cases[] = {{15, 96, 1},      {2655, 96, 177}, {240, 96, 16}, {615, 96, 41},
                        {2655, 144, 266}, {180, 120, 15},  {0, 96, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
  }
}

TEST(SizeAndCenterForm, SixTenthsOfTheScreenCentred) {
  struct Case {
    QRect screen;
    double fraction;
    QSize size;
    QPoint topLeft;
  };
  const Case cases[] = {
      {QRect(0, 0, 1920, 1080), 0.6, QSize(1152, 648), QPoint(384, 216)},
      {QRect(0, 0, 1366, 768), 0.6, QSize(820, 461), QPoint(273, 154)},
      {QRect(1920, 0, 1280, 1024), 0.6, QSize(768, 614), QPoint(1920 + 256, 205)},
      {QRect(0, 0, 800, 600), 1.0, QSize(800, 600), QPoint(0, 0)},
  };
  for (const Case& c : cases) {
    const QSize size = FormSizeFor(c.screen.size(), c.fraction, c.fraction);
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(CentredTopLeft(c.screen, size), c.topLeft);
  }
}

TEST(SizeAndCenterForm, CentresOnTheSizeTheWindowReallyTook) {
  QWidget form;
  form.setMinimumSize(5000, 5000);  // larger than any fraction of the screen
  Form1::SizeAndCenterForm(form, 0.6, 0.6);
  const QRect screen = form.screen()->geometry();
  EXPECT_EQ(form.size(), QSize(5000, 5000));
  EXPECT_EQ(form.pos(), CentredTopLeft(screen, QSize(5000, 5000)));
}

TEST_F(FormLoadTest, WindowTakesSixTenthsOfItsScreenButNeverLessThanItsControlsNeed) {
  const QSize available = form.screen()->availableGeometry().size();
  const QSize least = form.LeastFormSize().boundedTo(available);
  EXPECT_EQ(form.minimumSize(), least);
  EXPECT_EQ(form.size(), FormSizeFor(form.screen()->geometry().size(), 0.6, 0.6)
                             .expandedTo(least)
                             .boundedTo(available));
}

TEST_F(FormLoadTest, AtItsLeastSizeEveryControlIsWholeBesideAWideEnoughMap) {
  form.setMinimumSize(0, 0);
  form.resize(form.LeastFormSize());
  QResizeEvent resized(form.size(), form.size());  // delivered at once, the window unshown
  QCoreApplication::sendEvent(&form, &resized);
  for (const char* name :
       {"Label1", "Frame1", "List1", "Op2_2", "Text8", "Text1", "Command2", "Command3"}) {
    Find<QWidget>(name)->setVisible(true);  // every control at once
  }
  EXPECT_EQ(ControlsNotWhole(form, Form1::kLeastMapWidth), QStringList());
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

TEST(AxisStretch, AControlThatNeedsMoreRoomPushesOnWhatLiesBeyondIt) {
  using Span = AxisStretch::Span;
  struct Case {
    std::vector<Span> spans;
    std::vector<std::pair<int, int>> mapped;  // designed position, stretched position
  };
  const Case cases[] = {
      {{{0, 10, 5}}, {{0, 0}, {10, 10}, {20, 20}}},           // room enough
      {{{0, 10, 15}}, {{0, 0}, {10, 15}, {20, 25}}},          // grows by 5
      {{{0, 10, 15}, {10, 20, 14}}, {{10, 15}, {20, 29}}},    // growth on growth
      {{{0, 10, 15}, {20, 30, 12}}, {{20, 25}, {30, 37}}},    // moved, then grown
      {{{0, 30, 0}, {0, 10, 15}, {12, 30, 18}}, {{30, 35}}},  // beside one another
  };
  for (const Case& c : cases) {
    const AxisStretch stretch(c.spans);
    for (const auto& [designed, stretched] : c.mapped) {
      EXPECT_EQ(stretch.Map(designed), stretched) << designed;
    }
  }
}

}  // namespace
}  // namespace parquill::ui::testing
