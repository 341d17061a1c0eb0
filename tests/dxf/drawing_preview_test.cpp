// The map's reading of a drawing: lots and texts of the ENTITIES section in
// one pass, with limits on what is kept.
#include "dxf/drawing_preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::Entities;
using testing::Joined;
using testing::Lines;
using testing::LwPolyline;
using testing::operator+;
using testing::operator+=;
using testing::Sjis;
using testing::TempFolder;

DrawingPreview Read(const Lines& lines, const PreviewLimits& limits = {}) {
  TempFolder folder;
  return ReadDrawingPreview(folder.Write("d.dxf", Joined(lines)), TextEncoding::kCp932, limits);
}

TEST(DrawingPreview, PolylinesWithTheirLayerPointsAndClosure) {
  struct Case {
    const char* what;
    std::string flag;
    std::vector<testing::Point> points;
    bool closed;
  };
  const Case cases[] = {
      {"flag 1", "1", {{"0", "0"}, {"1", "0"}, {"1", "1"}}, true},
      {"flag 0, back on its start", "0", {{"0", "0"}, {"1", "0"}, {"0.0005", "0"}}, true},
      {"flag 0, open", "0", {{"0", "0"}, {"1", "0"}, {"1", "1"}}, false},
      {"flag 129", "129", {{"0", "0"}, {"1", "0"}, {"1", "1"}}, true},
      {"flag 128", "128", {{"0", "0"}, {"1", "0"}, {"1", "1"}}, false},
  };
  for (const Case& c : cases) {
    DrawingPreview preview =
        Read(Entities(LwPolyline(Sjis("筆界"), c.flag, c.points, {" 43", "0.0"}, {" 42", "0.0"})));
    ASSERT_EQ(preview.polylines.size(), 1u) << c.what;
    EXPECT_EQ(preview.polylines[0].layer, "筆界") << c.what;
    EXPECT_EQ(preview.polylines[0].points.size(), c.points.size()) << c.what;
    EXPECT_EQ(preview.polylines[0].points[1], (PlanePoint{1, 0})) << c.what;
    EXPECT_EQ(preview.polylines[0].closed, c.closed) << c.what;
  }
}

// Two vertices 10 apart with a bulge of 1 each, closed: two half circles, a
// circle of radius 5 about (5, 0), its first vertex not repeated.
TEST(DrawingPreview, BulgedSegmentsAreDrawnAsArcs) {
  DrawingPreview preview =
      Read(Entities(LwPolyline("A", "1", {{"0", "0"}, {"10", "0"}}, {}, {" 42", "1"})));
  ASSERT_EQ(preview.polylines.size(), 1u);
  const std::vector<PlanePoint>& points = preview.polylines[0].points;
  ASSERT_GT(points.size(), 20u);
  EXPECT_EQ(points.front(), (PlanePoint{0, 0}));
  EXPECT_NE(points.back(), points.front());
  EXPECT_TRUE(preview.polylines[0].closed);
  double lowest = 0, highest = 0;
  for (const PlanePoint& p : points) {
    EXPECT_NEAR(std::hypot(p.x - 5, p.y), 5, 1e-9);
    lowest = std::min(lowest, p.y);
    highest = std::max(highest, p.y);
  }
  // Counter-clockwise from (0, 0) to (10, 0) passes below, and back above.
  EXPECT_LT(lowest, -4.9);
  EXPECT_GT(highest, 4.9);
  // The same vertices open: the lower half circle only.
  preview = Read(Entities(LwPolyline("A", "0", {{"0", "0"}, {"10", "0"}}, {}, {" 42", "1"})));
  ASSERT_EQ(preview.polylines.size(), 1u);
  EXPECT_EQ(preview.polylines[0].points.back(), (PlanePoint{10, 0}));
  for (const PlanePoint& p : preview.polylines[0].points) EXPECT_LE(p.y, 1e-9);
}

TEST(DrawingPreview, TextsAndMTextsWithTheirPoints) {
  const Lines entities = {"  0", "TEXT",       "  8", Sjis("地番"),
                          " 10", "1",          " 20", "2",
                          "  1", " 12-3 ",     "  0", "TEXT",
                          "  8", Sjis("地番"), " 10", "1",
                          " 20", "2",          "  1", "4",
                          " 11", "5",          " 21", "6",
                          " 72", "1",          "  0", "MTEXT",
                          "  8", "0",          " 10", "7",
                          " 20", "8",          " 11", "0.8",  // its direction, not a point
                          " 21", "0.6",        "  1", "{\\H2.5;12}\\P{\\C1;3-4}"};
  DrawingPreview preview = Read(Lines{"  0", "SECTION", "  2", "BLOCKS", "  0", "TEXT", "  8", "0",
                                      "  1", "in a block", "  0", "ENDSEC"} +
                                Entities(entities));
  struct Expected {
    std::string layer, text;
    double x, y;
  };
  const Expected expected[] = {{"地番", "12-3", 1, 2}, {"地番", "4", 5, 6}, {"0", "12 3-4", 7, 8}};
  ASSERT_EQ(preview.texts.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(preview.texts[i].layer, expected[i].layer) << i;
    EXPECT_EQ(preview.texts[i].text, expected[i].text) << i;
    EXPECT_EQ(preview.texts[i].x, expected[i].x) << i;
    EXPECT_EQ(preview.texts[i].y, expected[i].y) << i;
  }
}

TEST(DrawingPreview, WhatLiesBeyondTheLimitsIsCountedNotKept) {
  Lines entities;
  for (int i = 0; i < 5; ++i) {
    entities += LwPolyline("0", "1", testing::Square());
    entities += Lines{"  0", "TEXT", "  8", "0", "  1", std::to_string(i)};
  }
  struct Case {
    PreviewLimits limits;
    std::size_t polylines, polylinesLeftOut, texts, textsLeftOut;
  };
  const Case cases[] = {
      {{}, 5, 0, 5, 0},
      {{2, 1000, 3}, 2, 3, 3, 2},
      {{100, 9, 100}, 2, 3, 5, 0},  // four vertices each: the third would pass nine
  };
  for (const Case& c : cases) {
    DrawingPreview preview = Read(Entities(entities), c.limits);
    EXPECT_EQ(preview.polylines.size(), c.polylines);
    EXPECT_EQ(preview.polylinesLeftOut, c.polylinesLeftOut);
    EXPECT_EQ(preview.texts.size(), c.texts);
    EXPECT_EQ(preview.textsLeftOut, c.textsLeftOut);
  }
}

TEST(DrawingPreview, AMissingFileOrACancelledReadingEndsQuietly) {
  DrawingPreview missing = ReadDrawingPreview("/nonexistent/d.dxf", TextEncoding::kCp932);
  EXPECT_FALSE(missing.readable);
  EXPECT_TRUE(missing.polylines.empty());

  Lines entities;
  for (int i = 0; i < 20000; ++i) entities += LwPolyline("0", "1", testing::Square());
  TempFolder folder;
  const std::atomic<bool> cancel{true};
  DrawingPreview cancelled = ReadDrawingPreview(folder.Write("d.dxf", Joined(Entities(entities))),
                                                TextEncoding::kCp932, {}, &cancel);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_LT(cancelled.polylines.size(), 20000u);
}

}  // namespace
}  // namespace parquill
