// The map drawn off screen: each region filled with its outcome's colour,
// the background left empty, and the view fitted, panned and zoomed.
#include "ui/map_preview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace parquill::ui {
namespace {

// A square region with its lower left corner at (x, y), side 10.
ReportRegion Square(int number, double x, double y, RegionOutcome outcome) {
  ReportRegion region;
  region.number = number;
  region.ring = {{x, y}, {x + 10, y}, {x + 10, y + 10}, {x, y + 10}, {x, y}};
  region.outcome = outcome;
  region.label = {x + 9, y + 9};  // a corner: the middle stays clear of the label
  return region;
}

QImage Render(MapPreview& map) {
  map.resize(300, 200);
  map.FitAll();
  return map.grab().toImage();
}

TEST(MapPreview, EachRegionIsFilledWithItsOutcomesColourOnAnEmptyBackground) {
  ConversionReport report;
  report.regions = {Square(1, 0, 0, RegionOutcome::kNumbered),
                    Square(2, 20, 0, RegionOutcome::kNoChiban),
                    Square(3, 40, 0, RegionOutcome::kSeveralTexts)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  const QImage image = Render(map);
  // The colours README names: green, red, amber.
  const QColor colours[] = {QColor(170, 220, 160), QColor(240, 150, 150), QColor(245, 205, 100)};
  for (std::size_t i = 0; i < report.regions.size(); ++i) {
    const ReportRegion& region = report.regions[i];
    const QPoint middle =
        map.ToScreen(QPointF(region.ring[0].x + 4, region.ring[0].y + 4)).toPoint();
    EXPECT_EQ(image.pixelColor(middle), colours[i]) << region.number;
  }
  // Between the regions and above them: nothing drawn.
  for (QPointF empty : {QPointF(15, 5), QPointF(25, 12)}) {
    EXPECT_EQ(image.pixelColor(map.ToScreen(empty).toPoint()), QColor(Qt::white));
  }
}

TEST(MapPreview, FitPanAndZoomKeepTheDrawingInView) {
  ConversionReport report;
  report.regions = {Square(1, -28410, 15730, RegionOutcome::kNumbered)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  Render(map);
  const QPointF middle = map.ToScreen(QPointF(-28405, 15735));
  const QPointF panelMiddle = map.DrawingArea().center();  // above the legend's band
  EXPECT_NEAR(middle.x(), 150, 0.5);
  EXPECT_NEAR(middle.y(), panelMiddle.y(), 0.5);
  EXPECT_LT(map.ToScreen(QPointF(-28405, 15739)).y(), middle.y()) << "north is up";

  map.CenterOn(-28410, 15730);
  EXPECT_NEAR(map.ToScreen(QPointF(-28410, 15730)).x(), 150, 0.5);
  const double fitted = map.scale();
  map.FitAll();
  EXPECT_EQ(map.scale(), fitted);
  EXPECT_NEAR(map.ToScreen(QPointF(-28405, 15735)).y(), panelMiddle.y(), 0.5);
}

void Mouse(MapPreview& map, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, map.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(&map, &event);
}

TEST(MapPreview, TheWheelZoomsAboutThePointUnderThePointer) {
  ConversionReport report;
  report.regions = {Square(1, -28410, 15730, RegionOutcome::kNumbered),
                    Square(2, -28380, 15760, RegionOutcome::kNumbered)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  Render(map);
  for (const QPointF pointer : {QPointF(40, 30), QPointF(250, 150), QPointF(150, 60)}) {
    for (const int delta : {120, 120, -120, 240, -360}) {
      const QPointF under = map.ToWorld(pointer);
      const double scale = map.scale();
      QWheelEvent wheel(pointer, map.mapToGlobal(pointer), QPoint(), QPoint(0, delta), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(&map, &wheel);
      EXPECT_NE(map.scale(), scale);
      const QPointF now = map.ToScreen(under);
      EXPECT_NEAR(now.x(), pointer.x(), 1.0) << delta;
      EXPECT_NEAR(now.y(), pointer.y(), 1.0) << delta;
    }
  }
}

TEST(MapPreview, ADragMovesTheDrawingWithThePointerAndChoosesNoLot) {
  ConversionReport report;
  report.regions = {Square(1, 0, 0, RegionOutcome::kNumbered)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  Render(map);
  const QPointF from(150, 80);
  const QPointF to(110, 120);
  const QPointF under = map.ToWorld(from);
  Mouse(map, QEvent::MouseButtonPress, from, Qt::LeftButton);
  Mouse(map, QEvent::MouseMove, to, Qt::LeftButton);
  Mouse(map, QEvent::MouseButtonRelease, to, Qt::NoButton);
  EXPECT_NEAR(map.ToScreen(under).x(), to.x(), 0.5);
  EXPECT_NEAR(map.ToScreen(under).y(), to.y(), 0.5);
  EXPECT_FALSE(map.ChosenLot().has_value());
}

TEST(MapPreview, AClickOnALotTellsItsNumberAreaVerticesAndRegion) {
  ConversionReport report;
  report.regions = {Square(1, 0, 0, RegionOutcome::kNumbered),
                    Square(2, 20, 0, RegionOutcome::kNoChiban)};
  report.regions[0].chiban = "123-4";
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  Render(map);
  struct Case {
    QPointF world;
    double metresPerUnit;
    const char* text;  // empty: no lot there
  };
  const Case cases[] = {
      {{5, 5}, 1, "地番 123-4　地積 100.00 m²　頂点 4　領域 1"},
      {{25, 5}, 1, "地番 (なし)　地積 100.00 m²　頂点 4　領域 2"},
      {{15, 5}, 1, ""},
      {{5, 5}, 0.001, "地番 123-4　地積 0.00 m²　頂点 4　領域 1"},
  };
  for (const Case& c : cases) {
    map.SetMetresPerUnit(c.metresPerUnit);
    const QPointF at = map.ToScreen(c.world);
    Mouse(map, QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(map, QEvent::MouseButtonRelease, at, Qt::NoButton);
    EXPECT_EQ(map.ChosenLot() ? LotText(*map.ChosenLot()) : QString(), QString::fromUtf8(c.text));
  }
}

// A drawing read more slowly than the run on it (a large one, steps run at
// once) goes under the report: the view, the chosen lots and the clicks on
// them stay; lots to build read as late are not drawn over the built ones.
TEST(MapPreview, ADrawingReadAfterTheReportGoesUnderIt) {
  ConversionReport report;
  report.regions = {Square(1, 0, 0, RegionOutcome::kNumbered),
                    Square(2, 20, 0, RegionOutcome::kNumbered)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  Render(map);
  map.SetSelectedRegions({1});
  map.ZoomToRegions({1});
  const QPointF lot2 = map.ToScreen(QPointF(25, 5));
  DrawingPreview drawing;
  drawing.polylines = {{"筆界", {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true}};
  map.ShowDrawing(PrepareDrawing(drawing));
  RegionOutlines lotsToBuild;
  lotsToBuild.rings = {report.regions[0].ring};
  map.ShowLotsToBuild(PrepareRegions(lotsToBuild));  // read as late: not drawn over the run
  EXPECT_EQ(map.LotsToBuild(), 0u);
  EXPECT_TRUE(map.HasDrawing());
  EXPECT_TRUE(map.HasReport());
  EXPECT_EQ(map.SelectedRegions(), std::vector<std::size_t>{1});
  EXPECT_EQ(map.ToScreen(QPointF(25, 5)), lot2);
  Mouse(map, QEvent::MouseButtonPress, lot2, Qt::LeftButton);
  Mouse(map, QEvent::MouseButtonRelease, lot2, Qt::NoButton);
  ASSERT_TRUE(map.ChosenLot().has_value());
  EXPECT_EQ(LotText(*map.ChosenLot()),
            QString::fromUtf8("地番 (なし)　地積 100.00 m²　頂点 4　領域 2"));
}

void Key(MapPreview& map, int key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&map, &event);
}

TEST(MapPreview, TheKeysPanZoomAboutTheMiddleAndFit) {
  ConversionReport report;
  report.regions = {Square(1, 0, 0, RegionOutcome::kNumbered)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  Render(map);
  EXPECT_TRUE(map.focusPolicy() & Qt::TabFocus);
  const double fitted = map.scale();
  const QRectF area = map.DrawingArea();
  const QPointF middle = map.ToWorld(area.center());
  // An arrow moves the view a tenth of the panel that way: the drawing point
  // in the middle moves the other way.
  Key(map, Qt::Key_Right);
  EXPECT_NEAR(map.ToScreen(middle).x(), area.center().x() - 30, 1e-6);
  Key(map, Qt::Key_Left);
  Key(map, Qt::Key_Up);
  EXPECT_NEAR(map.ToScreen(middle).x(), area.center().x(), 1e-6);
  EXPECT_NEAR(map.ToScreen(middle).y(), area.center().y() + area.height() / 10, 1e-6);
  Key(map, Qt::Key_Down);
  // + and − by a quarter about the middle, which stays.
  Key(map, Qt::Key_Plus);
  EXPECT_DOUBLE_EQ(map.scale(), fitted * 1.25);
  Key(map, Qt::Key_Minus);
  Key(map, Qt::Key_Minus);
  EXPECT_DOUBLE_EQ(map.scale(), fitted / 1.25);
  EXPECT_NEAR(map.ToScreen(middle).x(), area.center().x(), 1e-6);
  EXPECT_NEAR(map.ToScreen(middle).y(), area.center().y(), 1e-6);
  Key(map, Qt::Key_Right);
  Key(map, Qt::Key_Home);
  EXPECT_EQ(map.scale(), fitted);
  EXPECT_NEAR(map.ToScreen(QPointF(5, 5)).x(), area.center().x(), 1e-6);
}

TEST(MapPreview, TheBandGivesThePointersXNorthAndYEast) {
  ConversionReport report;
  report.regions = {Square(1, -28410, 15730, RegionOutcome::kNumbered)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  Render(map);
  EXPECT_EQ(map.PointerText(), "");
  Mouse(map, QEvent::MouseMove, map.ToScreen(QPointF(-28405.25, 15735.5)), Qt::NoButton);
  EXPECT_EQ(map.PointerText(), "X 15735.500  Y -28405.250");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&map, &leave);
  EXPECT_EQ(map.PointerText(), "");
}

TEST(MapLabels, PlacedWhereTheyFitInsideThePanelAndNeverOnOneAnother) {
  const QFont font;
  const QFontMetricsF metrics(font);
  const QRectF area(0, 0, 200, 100);
  struct Case {
    const char* name;
    std::vector<LabelWish> wishes;
    QStringList placed;
  };
  const Case cases[] = {
      {"apart", {{"12", {50, 50}}, {"13", {150, 50}}}, {"12", "13"}},
      {"on top of one another", {{"12", {50, 50}}, {"13", {52, 51}}}, {"12"}},
      {"at the edges, moved in", {{"1234-5", {0, 0}}, {"99", {199, 99}}}, {"1234-5", "99"}},
      {"outside the panel", {{"12", {-5, 50}}, {"13", {50, 120}}}, {}},
      {"right of a dot at the edge, moved in", {{"1234-5", {198, 50}, {30, 0}}}, {"1234-5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<PlacedLabel> placed = PlaceLabels(c.wishes, metrics, area);
    QStringList texts;
    for (const PlacedLabel& label : placed) {
      texts << label.text;
      EXPECT_TRUE(area.contains(label.box)) << label.text.toStdString();
    }
    EXPECT_EQ(texts, c.placed);
  }
}

// A rectangular region from (x0, y0) to (x1, y1) with its lot number at `label`.
ReportRegion Lot(int number, QRectF box, const char* chiban, QPointF label, RegionOutcome outcome) {
  ReportRegion region;
  region.number = number;
  region.ring = {{box.left(), box.top()},
                 {box.right(), box.top()},
                 {box.right(), box.bottom()},
                 {box.left(), box.bottom()},
                 {box.left(), box.top()}};
  region.chiban = chiban;
  region.label = {label.x(), label.y()};
  region.outcome = outcome;
  return region;
}

// Worked out on paper: a frame 100 by 60 around lot A (30 by 30), lot N
// beside it and a lot B of one unit, at about 7 pixels a unit. A's number
// fits in A; N's number stands across the line in A (where its text was
// written) and would hide A's; B's is wider than B; the frame's stands in A.
// Listed so that each fault shows: the frame last, over the lots when drawn
// in list order; N first, crowding out A's number when placed in list order.
TEST(MapPreview, LotsInsideAFrameAreDrawnOverItAndEachNumberOnlyWhereItFits) {
  ConversionReport report;
  report.regions = {
      Lot(1, QRectF(30, 0, 30, 30), "1234-5678", {22, 15}, RegionOutcome::kSeveralTexts),
      Lot(2, QRectF(70, 0, 1, 1), "99-1", {70.5, 0.5}, RegionOutcome::kNumbered),
      Lot(3, QRectF(0, 0, 30, 30), "一丁目5-7", {15, 15}, RegionOutcome::kNumbered),
      Lot(4, QRectF(0, 0, 100, 60), "枠", {15, 22}, RegionOutcome::kNoChiban)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  map.resize(800, 500);
  map.FitAll();
  ASSERT_GT(map.scale(), 5);
  ASSERT_LT(map.scale(), 8);
  const QImage image = map.grab().toImage();
  struct Pixel {
    QPointF world;
    QColor colour;
  };
  const Pixel pixels[] = {
      {{5, 5}, QColor(170, 220, 160)},    // A, green, over the frame
      {{55, 5}, QColor(245, 205, 100)},   // N, amber, over the frame
      {{80, 45}, QColor(240, 150, 150)},  // the frame alone, red
  };
  for (const Pixel& p : pixels) {
    EXPECT_EQ(image.pixelColor(map.ToScreen(p.world).toPoint()), p.colour) << p.world.x();
  }

  const std::vector<PlacedLabel> labels = map.ChibanLabels();
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].text, "一丁目5-7");
  const QRectF lotA(map.ToScreen(QPointF(0, 30)), map.ToScreen(QPointF(30, 0)));
  EXPECT_TRUE(lotA.contains(labels[0].box));

  // Its number in the frame's empty corner: drawn there, after the smaller lot's.
  report.regions[3].label = {85, 50};
  map.ShowReport(PrepareReport(report));
  map.FitAll();
  QStringList texts;
  for (const PlacedLabel& label : map.ChibanLabels()) texts << label.text;
  EXPECT_EQ(texts, QStringList({"一丁目5-7", "枠"}));
}

TEST(MapScene, AnOpenPolylineIsFoundByItsFirstVertex) {
  DrawingPreview drawing;
  drawing.polylines = {{"筆界", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true},
                       {"筆界", {{20, 0}, {30, 0}, {30, 10}}, false}};
  const auto prepared = PrepareDrawing(drawing);
  ASSERT_NE(FindOpenPolyline(*prepared, 20, 0), nullptr);
  EXPECT_EQ(FindOpenPolyline(*prepared, 20, 0)->points.size(), 3u);
  EXPECT_EQ(FindOpenPolyline(*prepared, 0, 0), nullptr);  // closed: a region
  EXPECT_EQ(FindOpenPolyline(*prepared, 5, 5), nullptr);
}

}  // namespace
}  // namespace parquill::ui
