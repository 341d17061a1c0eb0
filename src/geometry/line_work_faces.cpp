#include "geometry/line_work_faces.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "base/runtime_error.h"
#include "geometry/geos_library.h"

namespace parquill {
namespace {

// Joins the ends of the lines that lie within the tolerance of an end seen
// before: each such end takes that earlier end's place. Ends are looked up in
// a hash of tolerance-sized cells, so the joining takes linear time.
void JoinNearEnds(std::vector<std::vector<PlanePoint>>& lines) {
  struct Cell {
    std::int64_t cx, cy;
    bool operator==(const Cell&) const = default;
  };
  struct CellHash {
    std::size_t operator()(const Cell& c) const {
      return std::hash<std::int64_t>()(c.cx * 0x9E3779B97F4A7C15LL ^ c.cy);
    }
  };
  std::unordered_map<Cell, std::vector<PlanePoint>, CellHash> ends;
  ends.reserve(lines.size() * 2);
  auto cellOf = [](double v) {
    return static_cast<std::int64_t>(std::floor(v / kLineWorkTolerance));
  };
  auto join = [&](PlanePoint& end) {
    const std::int64_t cx = cellOf(end.x);
    const std::int64_t cy = cellOf(end.y);
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        auto found = ends.find({cx + dx, cy + dy});
        if (found == ends.end()) continue;
        for (const PlanePoint& seen : found->second) {
          if (std::fabs(seen.x - end.x) <= kLineWorkTolerance &&
              std::fabs(seen.y - end.y) <= kLineWorkTolerance) {
            end = seen;
            return;
          }
        }
      }
    }
    ends[{cx, cy}].push_back(end);
  };
  for (std::vector<PlanePoint>& line : lines) {
    join(line.front());
    join(line.back());
  }
}

// Snaps every point to the grid and leaves out the segments drawn before
// (either way) and those that shrink to a point: lines on top of each other
// go to the noding once. What is left of each line is cut into runs of kept
// segments.
std::vector<std::vector<PlanePoint>> SnappedWithoutRepeats(
    const std::vector<std::vector<PlanePoint>>& lines) {
  struct Segment {
    std::int64_t x1, y1, x2, y2;
    bool operator==(const Segment&) const = default;
  };
  struct SegmentHash {
    std::size_t operator()(const Segment& s) const {
      std::uint64_t h = 0;
      for (std::int64_t v : {s.x1, s.y1, s.x2, s.y2}) {
        h = (h ^ static_cast<std::uint64_t>(v)) * 0x100000001B3ULL;
      }
      return static_cast<std::size_t>(h ^ (h >> 29));
    }
  };
  auto grid = [](double v) {
    return static_cast<std::int64_t>(std::llround(v / kLineWorkTolerance));
  };
  auto point = [](std::int64_t x, std::int64_t y) {
    return PlanePoint{static_cast<double>(x) * kLineWorkTolerance,
                      static_cast<double>(y) * kLineWorkTolerance};
  };
  std::unordered_set<Segment, SegmentHash> seen;
  std::vector<std::vector<PlanePoint>> runs;
  for (const std::vector<PlanePoint>& line : lines) {
    std::vector<PlanePoint> run;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
      const std::int64_t x1 = grid(line[i].x), y1 = grid(line[i].y);
      const std::int64_t x2 = grid(line[i + 1].x), y2 = grid(line[i + 1].y);
      if (x1 == x2 && y1 == y2) continue;
      const bool forward = x1 < x2 || (x1 == x2 && y1 < y2);
      const Segment key = forward ? Segment{x1, y1, x2, y2} : Segment{x2, y2, x1, y1};
      if (!seen.insert(key).second) {
        if (run.size() >= 2) runs.push_back(std::move(run));
        run.clear();
        continue;
      }
      if (run.empty() || !(run.back() == point(x1, y1))) {
        if (run.size() >= 2) runs.push_back(std::move(run));
        run.assign({point(x1, y1)});
      }
      run.push_back(point(x2, y2));
    }
    if (run.size() >= 2) runs.push_back(std::move(run));
  }
  return runs;
}

std::vector<PlanePoint> PointsOf(const GeosContext& geos, const GEOSGeometry* line) {
  const GEOSCoordSequence* sequence = geos.Check(Api().GEOSGeom_getCoordSeq_r(geos.handle(), line));
  unsigned int size = 0;
  if (Api().GEOSCoordSeq_getSize_r(geos.handle(), sequence, &size) == 0) geos.Fail();
  std::vector<double> xy(2 * static_cast<std::size_t>(size));
  if (size > 0 &&
      Api().GEOSCoordSeq_copyToBuffer_r(geos.handle(), sequence, xy.data(), 0, 0) == 0) {
    geos.Fail();
  }
  std::vector<PlanePoint> points(size);
  for (unsigned int i = 0; i < size; ++i) points[i] = {xy[2 * i], xy[2 * i + 1]};
  return points;
}

// The ring turned clockwise, starting at its vertex of smallest X then Y, closed.
std::vector<PlanePoint> ClockwiseFromLowerLeft(std::vector<PlanePoint> ring) {
  if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
  if (ring.empty()) return ring;
  double twiceArea = 0;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    twiceArea += (ring[i].x - ring[j].x) * (ring[i].y + ring[j].y);
  }
  // twiceArea is positive for a clockwise ring (X right, Y up).
  if (twiceArea < 0) std::reverse(ring.begin(), ring.end());
  auto first =
      std::min_element(ring.begin(), ring.end(), [](const PlanePoint& a, const PlanePoint& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
      });
  std::rotate(ring.begin(), first, ring.end());
  ring.push_back(ring.front());
  return ring;
}

// The loose pieces of the three collections, merged into runs where they meet.
std::vector<LooseLine> LooseLinesOf(const GeosContext& geos, const GEOSGeometry* cuts,
                                    const GEOSGeometry* dangles, const GEOSGeometry* invalid) {
  GEOSContextHandle_t h = geos.handle();
  std::vector<GEOSGeometry*> pieces;
  for (const GEOSGeometry* collection : {cuts, dangles, invalid}) {
    if (collection == nullptr) continue;
    const int count = geos.Check(Api().GEOSGetNumGeometries_r(h, collection));
    for (int i = 0; i < count; ++i) {
      const GEOSGeometry* piece = geos.Check(Api().GEOSGetGeometryN_r(h, collection, i));
      if (Api().GEOSGeomTypeId_r(h, piece) == GEOS_POLYGON)
        piece = Api().GEOSGetExteriorRing_r(h, piece);
      pieces.push_back(geos.Check(Api().GEOSGeom_clone_r(h, piece)));
    }
  }
  std::vector<LooseLine> loose;
  if (pieces.empty()) return loose;
  Owned all(geos,
            geos.Check(Api().GEOSGeom_createCollection_r(h, GEOS_MULTILINESTRING, pieces.data(),
                                                         static_cast<unsigned>(pieces.size()))));
  Owned merged(geos, geos.Check(Api().GEOSLineMerge_r(h, all.get())));
  const int count = geos.Check(Api().GEOSGetNumGeometries_r(h, merged.get()));
  for (int i = 0; i < count; ++i) {
    std::vector<PlanePoint> points = PointsOf(geos, Api().GEOSGetGeometryN_r(h, merged.get(), i));
    if (!points.empty()) loose.push_back({points.front(), points.back()});
  }
  return loose;
}

}  // namespace

LineFaces FacesOfLineWork(const std::vector<std::vector<PlanePoint>>& drawn) {
  std::vector<std::vector<PlanePoint>> lines;
  lines.reserve(drawn.size());
  for (const std::vector<PlanePoint>& line : drawn) {
    if (line.size() >= 2) lines.push_back(line);
  }
  JoinNearEnds(lines);
  lines = SnappedWithoutRepeats(lines);

  GeosContext geos("境界線の面づくり");
  GEOSContextHandle_t h = geos.handle();
  LineFaces result;
  std::vector<GEOSGeometry*> strings;
  strings.reserve(lines.size());
  try {
    std::vector<double> xy;
    for (const std::vector<PlanePoint>& line : lines) {
      xy.clear();
      for (const PlanePoint& p : line) {
        xy.push_back(p.x);
        xy.push_back(p.y);
      }
      GEOSCoordSequence* sequence = geos.Check(Api().GEOSCoordSeq_copyFromBuffer_r(
          h, xy.data(), static_cast<unsigned>(line.size()), 0, 0));
      strings.push_back(geos.Check(Api().GEOSGeom_createLineString_r(h, sequence)));
    }
  } catch (...) {
    for (GEOSGeometry* string : strings) Api().GEOSGeom_destroy_r(h, string);
    throw;
  }
  if (strings.empty()) return result;
  Owned all(geos,
            geos.Check(Api().GEOSGeom_createCollection_r(h, GEOS_MULTILINESTRING, strings.data(),
                                                         static_cast<unsigned>(strings.size()))));
  // Snap rounding on the tolerance grid: points snapped, lines cut where
  // they cross or touch, lines on top of each other merged.
  // Runs that meet end to end, and nothing else there, are joined first:
  // the noding's cost goes with the number of lines it is given.
  Owned chained(geos, geos.Check(Api().GEOSLineMerge_r(h, all.get())));
  Owned noded(geos, geos.Check(Api().GEOSUnaryUnionPrec_r(h, chained.get(), kLineWorkTolerance)));

  GEOSGeometry* cuts = nullptr;
  GEOSGeometry* dangles = nullptr;
  GEOSGeometry* invalid = nullptr;
  Owned faces(geos,
              geos.Check(Api().GEOSPolygonize_full_r(h, noded.get(), &cuts, &dangles, &invalid)));
  Owned ownCuts(geos, cuts);
  Owned ownDangles(geos, dangles);
  Owned ownInvalid(geos, invalid);

  const int count = geos.Check(Api().GEOSGetNumGeometries_r(h, faces.get()));
  result.faces.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const GEOSGeometry* face = geos.Check(Api().GEOSGetGeometryN_r(h, faces.get(), i));
    const GEOSGeometry* outer = geos.Check(Api().GEOSGetExteriorRing_r(h, face));
    LineFace lot;
    lot.ring = ClockwiseFromLowerLeft(PointsOf(geos, outer));
    lot.holes = geos.Check(Api().GEOSGetNumInteriorRings_r(h, face));
    if (lot.ring.size() >= 4) result.faces.push_back(std::move(lot));
  }
  result.looseLines = LooseLinesOf(geos, cuts, dangles, invalid);
  return result;
}

}  // namespace parquill
