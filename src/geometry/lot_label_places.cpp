#include "geometry/lot_label_places.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geometry/geos_library.h"
#include "geometry/point_in_polygon.h"

namespace parquill {
namespace {

// The centre is sought first until the radius is known to a fifth of the
// lot's narrower side (its box's): quick, and right for nearly every lot. A
// centre that this leaves outside the lot or in a hole (a thin strip across
// its box) is sought again until the radius is known to a twentieth of
// twice the lot's area over its perimeter (about the radius itself).
constexpr double kCoarseShare = 0.2;
constexpr double kFineShare = 0.05;
constexpr double kFinestShare = 0.01;
// GEOS's search grows with the lot's length over its width and over the
// precision sought: never finer than a ten-thousandth of the longer side of
// the lot's box, and no search at all in a lot more than that many times as
// long as it is wide (a sliver drawn by a wrong coordinate), which keeps its
// first point. A real road of 4 m is searched up to 40 km long.
constexpr double kMostStepsAlong = 1e4;

// A ring about `origin` (survey coordinates keep their decimals), closed.
struct Ring {
  std::vector<double> xy;  // for GEOS: x, y, x, y...
  std::vector<double> x, y;

  Ring(const LotModel& lots, const LotModel::Ring& ring, PlanePoint origin) {
    for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
      x.push_back(lots.points[i].x - origin.x);
      y.push_back(lots.points[i].y - origin.y);
    }
    if (!x.empty() && (x.front() != x.back() || y.front() != y.back())) {
      x.push_back(x.front());
      y.push_back(y.front());
    }
    for (std::size_t i = 0; i < x.size(); ++i) xy.insert(xy.end(), {x[i], y[i]});
  }
  bool usable() const { return x.size() >= 4; }  // three corners and the closing point
  // < 0 inside, 0 on the ring, > 0 outside.
  int Side(PlanePoint at) const {
    if (x.size() > INT16_MAX) return 0;
    return InPolygon(static_cast<std::int16_t>(x.size()), x.data(), y.data(), at.x, at.y);
  }
  GEOSGeometry* Geometry(const GeosContext& geos) const {
    GEOSCoordSequence* sequence = geos.Check(Api().GEOSCoordSeq_copyFromBuffer_r(
        geos.handle(), xy.data(), static_cast<unsigned>(x.size()), 0, 0));
    return geos.Check(Api().GEOSGeom_createLinearRing_r(geos.handle(), sequence));
  }
};

// The maximum inscribed circle of the polygon to `tolerance`.
LotLabelPlace InscribedCircle(const GeosContext& geos, const GEOSGeometry* polygon,
                              double tolerance) {
  GEOSContextHandle_t h = geos.handle();
  Owned circle(geos, geos.Check(Api().GEOSMaximumInscribedCircle_r(h, polygon, tolerance)));
  // A line from the centre to the nearest point of the boundary.
  double line[4] = {};
  if (Api().GEOSCoordSeq_copyToBuffer_r(
          h, geos.Check(Api().GEOSGeom_getCoordSeq_r(h, circle.get())), line, 0, 0) == 0) {
    geos.Fail();
  }
  return {{line[0], line[1]}, std::hypot(line[2] - line[0], line[3] - line[1])};
}

}  // namespace

std::vector<LotLabelPlace> LotLabelPlaces(const LotModel& lots) {
  std::vector<LotLabelPlace> places;
  places.reserve(lots.lots.size());
  if (lots.lots.empty()) return places;
  GeosContext geos("地番の位置の計算");
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const LotModel::Lot& lot = lots.lots[l];
    const LotModel::Ring& exterior = lots.ExteriorOf(l);
    const PlanePoint origin =
        exterior.pointCount > 0 ? lots.points[exterior.firstPoint] : PlanePoint{0, 0};
    places.push_back({origin, 0});
    std::vector<Ring> rings;
    for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
      rings.emplace_back(lots, lots.rings[lot.firstRing + r], origin);
      if (r > 0 && !rings.back().usable()) rings.pop_back();
    }
    if (!rings.front().usable()) continue;
    const Ring& shell = rings.front();
    const auto [minX, maxX] = std::minmax_element(shell.x.begin(), shell.x.end());
    const auto [minY, maxY] = std::minmax_element(shell.y.begin(), shell.y.end());
    const double narrower = std::min(*maxX - *minX, *maxY - *minY);
    const double longer = std::max(*maxX - *minX, *maxY - *minY);
    if (!(narrower > 0 && std::isfinite(longer)) || longer > narrower * kMostStepsAlong) {
      continue;  // no room inside
    }
    std::vector<GEOSGeometry*> holes;
    for (std::size_t r = 1; r < rings.size(); ++r) holes.push_back(rings[r].Geometry(geos));
    Owned polygon(geos, geos.Check(Api().GEOSGeom_createPolygon_r(
                            geos.handle(), rings.front().Geometry(geos), holes.data(),
                            static_cast<unsigned>(holes.size()))));

    LotLabelPlace place = InscribedCircle(geos, polygon.get(), narrower * kCoarseShare + 1e-9);
    bool inside = place.radius > 0 && shell.Side(place.centre) < 0;
    for (std::size_t r = 1; inside && r < rings.size(); ++r) {
      inside = rings[r].Side(place.centre) > 0;
    }
    if (!inside) {
      double twiceArea = 0, perimeter = 0;
      for (std::size_t i = 0; i + 1 < shell.x.size(); ++i) {
        twiceArea += shell.x[i] * shell.y[i + 1] - shell.x[i + 1] * shell.y[i];
        perimeter += std::hypot(shell.x[i + 1] - shell.x[i], shell.y[i + 1] - shell.y[i]);
      }
      // Never finer than a hundredth of the narrower side (a ring that
      // crosses itself may enclose no area).
      place = InscribedCircle(geos, polygon.get(),
                              std::max({std::abs(twiceArea) / perimeter * kFineShare,
                                        narrower * kFinestShare, longer / kMostStepsAlong}));
    }
    places.back() = {{place.centre.x + origin.x, place.centre.y + origin.y}, place.radius};
  }
  return places;
}

}  // namespace parquill
