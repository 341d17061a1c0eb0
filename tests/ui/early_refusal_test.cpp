// After "面生成", the result line says at once, in red, when the SIMA
// conversion will refuse the regions: too many lots or too many points.
#include <QLabel>

#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

// A drawing of version 2000 whose layer 筆界 holds `rings` closed polylines,
// each a regular polygon of `corners` corners, side by side.
std::string DrawingOfRings(int rings, int corners) {
  std::string text = Drawing("AC1015", {"筆界"});
  text.resize(text.size() - std::string("  0\r\nEOF\r\n").size());
  const std::string layer = EncodeText("筆界", TextEncoding::kCp932);
  text += "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
  for (int ring = 0; ring < rings; ++ring) {
    text += "  0\r\nLWPOLYLINE\r\n100\r\nAcDbEntity\r\n  8\r\n" + layer +
            "\r\n100\r\nAcDbPolyline\r\n 90\r\n" + std::to_string(corners) + "\r\n 70\r\n1\r\n";
    for (int k = 0; k < corners; ++k) {
      const double angle = 2 * 3.141592653589793 * k / corners;
      text += " 10\r\n" + std::to_string(ring * 3 + std::cos(angle)) + "\r\n 20\r\n" +
              std::to_string(std::sin(angle)) + "\r\n";
    }
  }
  text += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  return text;
}

class EarlyRefusalTest : public WindowTest {
 protected:
  void BuildLots(const std::string& drawing) {
    WriteFile("lots.dxf", drawing);
    BuildRegionsOf("lots.dxf", "筆界");
    ASSERT_TRUE(boxes.shown.empty());
  }
  QColor ResultColour() {
    return Find<QLabel>("ResultText")->palette().color(QPalette::WindowText);
  }
};

// Told in red at 面生成 when the SIMA conversion will refuse; nothing said
// within the limits.
TEST_F(EarlyRefusalTest, TheSimaLimitsAreToldAtOnce) {
  const struct {
    int rings, points;
    const char* line;
    bool red;
  } cases[] = {
      {2001, 4,
       "lots.MIF に 2001 領域を書きました。このままでは SIMA ファイルは書かれません: "
       "筆個数が、2000個を超えました。",
       true},
      {20, 800,
       "lots.MIF に 20 領域を書きました。このままでは SIMA ファイルは書かれません: "
       "座標が、15000点を超えました。",
       true},
      {2000, 4, "lots.MIF に 2000 領域を書きました", false},
  };
  for (const auto& c : cases) {
    BuildLots(DrawingOfRings(c.rings, c.points));
    EXPECT_EQ(form.ResultText(), c.line);
    EXPECT_EQ(ResultColour() == QColor(190, 0, 0), c.red) << c.rings;
  }
}

}  // namespace
}  // namespace parquill::ui::testing
