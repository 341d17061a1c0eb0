#pragma once

#include <cstddef>
#include <vector>

#include "base/limits.h"
#include "geometry/plane_point.h"

namespace parquill {


// Two points are one when they differ by at most this in X and in Y; the
// line work is snapped to a grid of this size.
inline constexpr double kLineWorkTolerance = kCoordinateTolerance;

// One face of the noded line work: a lot.
struct LineFace {
  // The outer ring, clockwise, from its vertex of smallest X (then smallest
  // Y), closed: the last point repeats the first.
  std::vector<PlanePoint> ring;
  int holes = 0;  // rings of other faces lying inside it
};

// A piece of the line work that bounds no face: a dangle, an overshoot, the
// sides of a lot left open by a gap, or a line with the same face on both
// sides. Its two ends, as snapped.
struct LooseLine {
  PlanePoint from;
  PlanePoint to;
};

struct LineFaces {
  std::vector<LineFace> faces;  // in no set order
  std::vector<LooseLine> looseLines;
};

// Cuts the boundary lines (each a run of points, two at least) into the
// faces they enclose: ends closer than the tolerance are joined, every point
// is snapped to the tolerance grid, lines are cut where they cross or touch
// and lines on top of each other become one. A failure of the geometry
// library raises RuntimeError(kInvalidCall) with its message.
LineFaces FacesOfLineWork(const std::vector<std::vector<PlanePoint>>& lines);

}  // namespace parquill
