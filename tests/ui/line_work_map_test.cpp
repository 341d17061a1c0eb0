// The map of a drawing of lines: its line work drawn under the lots, and,
// with "線から筆を作る", the lots "面生成" would build.
#include <QCheckBox>

#include "ui/lot_choice.h"
#include "ui/map_preview.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

TEST(MapScene, LineWorkIsKeptByLayerAndCountsInTheExtent) {
  DrawingPreview drawing;
  drawing.polylines.push_back({"筆界", {{0, 0}, {10, 0}, {10, 10}}, true});
  drawing.lines.push_back({"道路", {{-5, 2}, {20, 2}}, false});
  const auto prepared = PrepareDrawing(drawing);
  ASSERT_EQ(prepared->lineWork.size(), 1u);
  EXPECT_EQ(prepared->lineWork[0].name, "道路");
  EXPECT_EQ(prepared->extent, QRectF(-5, 0, 25, 10));
  EXPECT_TRUE(prepared->openPolylines.empty());  // line work is no lot left open
}

class LineWorkMapTest : public WindowTest {
 protected:
  MapPreview* Map() { return Find<MapPreview>("MapPreview"); }
};

TEST_F(LineWorkMapTest, TickingLotsFromLinesShowsTheLotsToBuild) {
  ASSERT_TRUE(QFile::copy(QStringLiteral(PARQUILL_SOURCE_DIR "/tests/data/ezdxf_r12_lots.dxf"),
                          PathOf("r12.dxf")));
  OpenFolder();
  form.OnDrawingClicked("r12.dxf");
  ASSERT_TRUE(WaitForMapReadings());
  EXPECT_FALSE(Map()->HasDrawing());
  EXPECT_TRUE(Map()->Placeholder().endsWith("この図面は処理できません"));

  Find<QCheckBox>("FromLinesCheck")->setChecked(true);
  ASSERT_TRUE(WaitForMapReadings());
  EXPECT_TRUE(Map()->HasDrawing());
  EXPECT_EQ(Map()->LotsToBuild(), 0u);  // no boundary layer chosen yet

  form.OnReadLayers();
  ClickLayer("LOTLINES");
  ASSERT_TRUE(WaitForMapReadings());
  EXPECT_EQ(Map()->LotsToBuild(), 2u);
  // A lot to build tells its area before anything is written.
  Map()->resize(400, 300);
  Map()->FitAll();
  const QRectF area = Map()->DrawingArea();
  Map()->ChooseLotAt(area.center() - QPointF(area.width() / 5, 0));
  ASSERT_TRUE(Map()->ChosenLot().has_value());
  EXPECT_GT(Map()->ChosenLot()->squareMetres, 0);

  ClickLayer("LOTLINES");  // none chosen: none to build
  ASSERT_TRUE(WaitForMapReadings());
  EXPECT_EQ(Map()->LotsToBuild(), 0u);
}

}  // namespace
}  // namespace parquill::ui::testing
