// The faces of boundary lines: noding, snapping, and the lines left over.
#include "geometry/line_work_faces.h"

#include <gtest/gtest.h>

#include <string>

namespace parquill {
namespace {

using Segments = std::vector<std::vector<PlanePoint>>;

// The four sides of the box as separate lines.
Segments Box(double x0, double y0, double x1, double y1) {
  return {{{x0, y0}, {x1, y0}}, {{x1, y0}, {x1, y1}}, {{x1, y1}, {x0, y1}}, {{x0, y1}, {x0, y0}}};
}

Segments operator+(Segments a, const Segments& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(LineWorkFaces, FacesHolesAndLooseLines) {
  struct Case {
    const char* what;
    Segments lines;
    std::size_t faces;
    std::size_t loose;
    int holes;  // of all faces
  };
  const Case cases[] = {
      {"four separate sides", Box(0, 0, 1, 1), 1, 0, 0},
      {"two lots, the shared side drawn twice", Box(0, 0, 1, 1) + Box(1, 0, 2, 1), 2, 0, 0},
      {"a side ending on another one (T-junction)", Box(0, 0, 2, 1) + Segments{{{1, 1}, {1, 0}}}, 2,
       0, 0},
      {"a line crossing the lot without a vertex, overshooting both sides",
       Box(0, 0, 2, 1) + Segments{{{1, -0.5}, {1, 1.5}}}, 2, 2, 0},
      {"a gap under the tolerance",
       Segments{{{0, 0}, {1, 0}}, {{1.0007, 0}, {1, 1}}, {{1, 1}, {0, 1}}, {{0, 1}, {0, 0.0004}}},
       1, 0, 0},
      {"a gap over the tolerance",
       Segments{{{0, 0}, {1, 0}}, {{1.01, 0}, {1, 1}}, {{1, 1}, {0, 1}}, {{0, 1}, {0, 0}}}, 0, 1,
       0},
      {"a lot inside a lot", Box(0, 0, 10, 10) + Box(4, 4, 6, 6), 2, 0, 1},
      {"one open polyline around", Segments{{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}}, 1, 0, 0},
      {"one side in two pieces overlapping each other",
       Segments{{{0, 0}, {0.7, 0}}, {{0.3, 0}, {1, 0}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}}, 1, 0, 0},
      {"a line drawn there and back", Segments{{{0, 0}, {1, 0}, {0, 0}}}, 0, 1, 0},
      {"a dangle inside a lot", Box(0, 0, 1, 1) + Segments{{{0, 0.5}, {0.5, 0.5}}}, 1, 1, 0},
  };
  for (const Case& c : cases) {
    LineFaces faces = FacesOfLineWork(c.lines);
    EXPECT_EQ(faces.faces.size(), c.faces) << c.what;
    EXPECT_EQ(faces.looseLines.size(), c.loose) << c.what;
    int holes = 0;
    for (const LineFace& face : faces.faces) holes += face.holes;
    EXPECT_EQ(holes, c.holes) << c.what;
  }
}

TEST(LineWorkFaces, RingClockwiseFromTheLowestXThenY) {
  // Drawn counter-clockwise from the upper-right corner.
  LineFaces faces = FacesOfLineWork({{{2, 1}, {0, 1}, {0, 0}, {2, 0}, {2, 1}}});
  ASSERT_EQ(faces.faces.size(), 1u);
  const std::vector<PlanePoint> expected = {{0, 0}, {0, 1}, {2, 1}, {2, 0}, {0, 0}};
  EXPECT_EQ(faces.faces[0].ring, expected);
}

TEST(LineWorkFaces, LooseLinesKeepTheirEnds) {
  LineFaces faces = FacesOfLineWork(Box(0, 0, 1, 1) + Segments{{{1, 1}, {1.5, 1.5}}});
  ASSERT_EQ(faces.looseLines.size(), 1u);
  const LooseLine& loose = faces.looseLines[0];
  const bool asDrawn = loose.from == PlanePoint{1, 1} && loose.to == PlanePoint{1.5, 1.5};
  const bool reversed = loose.to == PlanePoint{1, 1} && loose.from == PlanePoint{1.5, 1.5};
  EXPECT_TRUE(asDrawn || reversed);
}

// Ends 0.001 apart (as the drawing writes them, in decimals) are one point,
// ends 0.0011 apart are not, near the origin and at survey coordinates.
TEST(LineWorkFaces, EndsJoinedWithinTheTolerance) {
  const struct {
    double x0, y0;  // the lower left corner of a 10 m lot
    double gap;     // how far the last side stops short of the first corner
    std::size_t faces;
  } cases[] = {
      {0, 0, 0.001, 1},
      {0, 0, 0.0011, 0},
      {0, 0, 0, 1},
      {15730.5, -28410.25, 0.001, 1},
      {15730.5, -28410.25, 0.0011, 0},
      {-4321.875, 98765.125, 0.001, 1},
  };
  for (const auto& c : cases) {
    const double x1 = c.x0 + 10, y1 = c.y0 + 10;
    // Written as a drawing gives them: each coordinate a decimal read once.
    const double shortY = std::stod(std::to_string(c.y0 + c.gap));
    const Segments lines = {{{c.x0, c.y0}, {x1, c.y0}},
                            {{x1, c.y0}, {x1, y1}},
                            {{x1, y1}, {c.x0, y1}},
                            {{c.x0, y1}, {c.x0, shortY}}};
    const LineFaces faces = FacesOfLineWork(lines);
    EXPECT_EQ(faces.faces.size(), c.faces) << c.x0 << " gap " << c.gap;
  }
}

}  // namespace
}  // namespace parquill
