// The map drawn off screen: each region filled with its outcome's colour,
// the background left empty, and the view fitted, panned and zoomed.
#include "ui/map_preview.h"

#include <gtest/gtest.h>

#include <QImage>

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
                    Square(2, 20, 0, RegionOutcome::kNoLotNumber),
                    Square(3, 40, 0, RegionOutcome::kSeveralTexts)};
  MapPreview map;
  map.ShowReport(PrepareReport(report));
  const QImage image = Render(map);
  for (const ReportRegion& region : report.regions) {
    const QPoint middle =
        map.ToScreen(QPointF(region.ring[0].x + 4, region.ring[0].y + 4)).toPoint();
    EXPECT_EQ(image.pixelColor(middle), OutcomeColour(region.outcome)) << region.number;
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

}  // namespace
}  // namespace parquill::ui
