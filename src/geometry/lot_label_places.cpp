#include "geometry/lot_label_places.h"

#include <algorithm>
#include <cmath>

#include "geometry/geos_library.h"

namespace parquill {
namespace {

// A ring as GEOS takes it, about `origin` (survey coordinates keep their
// decimals) and closed; null for fewer than three corners.
GEOSGeometry* RingAbout(const GeosContext& geos, const LotModel& lots, const LotModel::Ring& ring,
                        PlanePoint origin, std::vector<double>& xy) {
  xy.clear();
  for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
    xy.push_back(lots.points[i].x - origin.x);
    xy.push_back(lots.points[i].y - origin.y);
  }
  if (xy.size() >= 2 && (xy[0] != xy[xy.size() - 2] || xy[1] != xy.back())) {
    xy.push_back(xy[0]);
    xy.push_back(xy[1]);
  }
  if (xy.size() < 8) return nullptr;
  GEOSCoordSequence* sequence = geos.Check(Api().GEOSCoordSeq_copyFromBuffer_r(
      geos.handle(), xy.data(), static_cast<unsigned>(xy.size() / 2), 0, 0));
  return geos.Check(Api().GEOSGeom_createLinearRing_r(geos.handle(), sequence));
}

}  // namespace

std::vector<LotLabelPlace> LotLabelPlaces(const LotModel& lots) {
  std::vector<LotLabelPlace> places;
  places.reserve(lots.lots.size());
  if (lots.lots.empty()) return places;
  GeosContext geos("地番の位置の計算");
  GEOSContextHandle_t h = geos.handle();
  std::vector<double> xy;
  std::vector<GEOSGeometry*> holes;
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const LotModel::Lot& lot = lots.lots[l];
    const LotModel::Ring& exterior = lots.ExteriorOf(l);
    const PlanePoint origin =
        exterior.pointCount > 0 ? lots.points[exterior.firstPoint] : PlanePoint{0, 0};
    places.push_back({origin, 0});
    GEOSGeometry* shell = RingAbout(geos, lots, exterior, origin, xy);
    if (shell == nullptr) continue;
    double extent = 0;
    for (std::size_t i = 0; i < xy.size(); ++i) extent = std::max(extent, std::abs(xy[i]));
    holes.clear();
    for (std::uint32_t r = 1; r < lot.ringCount; ++r) {
      GEOSGeometry* hole = RingAbout(geos, lots, lots.rings[lot.firstRing + r], origin, xy);
      if (hole != nullptr) holes.push_back(hole);
    }
    Owned polygon(geos, geos.Check(Api().GEOSGeom_createPolygon_r(
                            h, shell, holes.data(), static_cast<unsigned>(holes.size()))));
    Owned circle(geos, geos.Check(Api().GEOSMaximumInscribedCircle_r(h, polygon.get(),
                                                                     extent / 1000 + 1e-9)));
    // A line from the centre to the nearest point of the boundary.
    double line[4] = {};
    if (Api().GEOSCoordSeq_copyToBuffer_r(
            h, geos.Check(Api().GEOSGeom_getCoordSeq_r(h, circle.get())), line, 0, 0) == 0) {
      geos.Fail();
    }
    places.back() = {{line[0] + origin.x, line[1] + origin.y},
                     std::hypot(line[2] - line[0], line[3] - line[1])};
  }
  return places;
}

}  // namespace parquill
