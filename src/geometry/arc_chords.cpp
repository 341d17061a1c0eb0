#include "geometry/arc_chords.h"

#include <cmath>
#include <numbers>

namespace parquill {
namespace {

// The circle of a bulged segment: its centre, radius, start angle and sweep.
struct BulgeArc {
  double cx, cy, radius, start, sweep;
};

BulgeArc ArcOfBulge(PlanePoint from, PlanePoint to, double bulge) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  const double chord = std::hypot(dx, dy);
  const double sweep = 4 * std::atan(bulge);
  // The centre lies off the chord's middle, to its left for a positive bulge
  // under a half circle.
  const double offset = (1 - bulge * bulge) / (4 * bulge);
  const double cx = (from.x + to.x) / 2 - dy * offset;
  const double cy = (from.y + to.y) / 2 + dx * offset;
  const double radius = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  return {cx, cy, radius, std::atan2(from.y - cy, from.x - cx), sweep};
}

}  // namespace

std::size_t ChordCount(double radius, double sweep) {
  const double angle = std::fabs(sweep);
  if (!(radius > kChordDeviation) || !(angle > 0)) return 1;
  // A chord of angle a lies at most r (1 - cos(a / 2)) from its arc; the
  // chords keep a tolerance's room, so that the snapping of their points to
  // the grid leaves them within kChordDeviation.
  const double step = 2 * std::acos(1 - (kChordDeviation - kLineWorkTolerance) / radius);
  const double count = std::ceil(angle / step);
  if (!(count < 1e15)) return static_cast<std::size_t>(1e15);
  return count < 1 ? 1 : static_cast<std::size_t>(count);
}

void AppendArcChords(std::vector<PlanePoint>& points, double cx, double cy, double radius,
                     double start, double sweep) {
  const std::size_t count = ChordCount(radius, sweep);
  for (std::size_t k = 1; k <= count; ++k) {
    const double angle = start + sweep * static_cast<double>(k) / static_cast<double>(count);
    points.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
  }
}

std::size_t BulgeChordCount(PlanePoint from, PlanePoint to, double bulge) {
  if (bulge == 0 || from == to) return 1;
  const BulgeArc arc = ArcOfBulge(from, to, bulge);
  return ChordCount(arc.radius, arc.sweep);
}

void AppendBulgeChords(std::vector<PlanePoint>& points, PlanePoint from, PlanePoint to,
                       double bulge) {
  if (bulge == 0 || from == to) {
    points.push_back(to);
    return;
  }
  const BulgeArc arc = ArcOfBulge(from, to, bulge);
  AppendArcChords(points, arc.cx, arc.cy, arc.radius, arc.start, arc.sweep);
  points.back() = to;  // the end exactly as drawn
}

double BulgeSegmentArea(PlanePoint from, PlanePoint to, double bulge) {
  if (bulge == 0) return 0;
  // Included angle t = 4 atan(bulge); radius = chord / (2 sin(t / 2)); the
  // circular segment is (t - sin t) r^2 / 2.
  const double t = 4 * std::atan(bulge);
  const double chord2 = (to.x - from.x) * (to.x - from.x) + (to.y - from.y) * (to.y - from.y);
  const double half = std::sin(t / 2);
  return (t - std::sin(t)) * chord2 / (8 * half * half);
}

}  // namespace parquill
