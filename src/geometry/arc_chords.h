#pragma once

#include <cstddef>
#include <vector>

#include "geometry/line_work_faces.h"

namespace parquill {

// Arcs of the boundary lines are written as chords no farther than this from
// the arc, in drawing units.
inline constexpr double kChordDeviation = 0.01;

// How many chords an arc of `radius` sweeping `sweep` radians (either sign)
// needs; 1 at least. Counted before any point is made, so that a huge arc is
// refused by its chord count, never built.
std::size_t ChordCount(double radius, double sweep);

// Appends the points after the arc's start up to its end: the arc of the
// circle about (cx, cy) of `radius`, from angle `start` sweeping `sweep`
// radians (counter-clockwise when positive). The last point is the arc's end.
void AppendArcChords(std::vector<PlanePoint>& points, double cx, double cy, double radius,
                     double start, double sweep);

// The chords of a polyline segment with a bulge (the tangent of a quarter of
// its included angle; positive counter-clockwise) from `from` to `to`: the
// points after `from`, `to` last. A bulge of 0 gives `to` alone.
void AppendBulgeChords(std::vector<PlanePoint>& points, PlanePoint from, PlanePoint to,
                       double bulge);
// The chord count of such a segment.
std::size_t BulgeChordCount(PlanePoint from, PlanePoint to, double bulge);
// The area between such a segment's arc and its chord, with the bulge's sign:
// what the arc adds to a counter-clockwise ring (takes away from a clockwise one).
double BulgeSegmentArea(PlanePoint from, PlanePoint to, double bulge);

}  // namespace parquill
