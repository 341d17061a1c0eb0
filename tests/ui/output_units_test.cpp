// The map's unit: the unit of the regions and the report the core gives,
// the drawing scaled to it.
#include <gtest/gtest.h>

#include "ui/map_scene.h"

namespace parquill::ui::testing {
namespace {

TEST(OutputUnits, TheDrawingIsScaledToTheMapsUnit) {
  DrawingPreview drawing;
  drawing.polylines.push_back({"筆界", {{0, 0}, {10000, 0}, {10000, 5000}}, false});
  drawing.lines.push_back({"道路", {{0, -2000}, {10000, -2000}}, false});
  drawing.texts.push_back({"地番", "1-2", 5000, 2500});
  const auto prepared = PrepareDrawing(drawing, 0.001);
  EXPECT_EQ(prepared->extent, QRectF(0, -2, 10, 7));
  ASSERT_EQ(prepared->openPolylines.size(), 1u);
  EXPECT_EQ(prepared->openPolylines[0].points[1].x, 10.0);
  EXPECT_EQ(prepared->texts[0].x, 5.0);
  EXPECT_NE(FindOpenPolyline(*prepared, 0, 0), nullptr);
}

}  // namespace
}  // namespace parquill::ui::testing
