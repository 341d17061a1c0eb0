#include "mif/plane_zone.h"

namespace parquill {
namespace {

// Each zone's origin, longitude then latitude in degrees, as MapInfo writes
// them (the same on both
// datums: EPSG 2443 to 2461 and 6669 to 6687).
constexpr const char* kZoneOrigins[kLastPlaneZone + 1] = {
    "",
    "129.5, 33",
    "131, 33",
    "132.166666666667, 36",
    "133.5, 33",
    "134.333333333333, 36",
    "136, 36",
    "137.166666666667, 36",
    "138.5, 36",
    "139.833333333333, 36",
    "140.833333333333, 40",
    "140.25, 44",
    "142.25, 44",
    "144.25, 44",
    "142, 26",
    "127.5, 26",
    "124, 26",
    "131, 26",
    "136, 20",
    "154, 26",
};

}  // namespace

std::string MifCoordinateSystemLine(int zone, PlaneDatum datum) {
  if (!IsPlaneZone(zone)) return "Coordsys Earth Projection 1,0";
  // Projection 8 is the transverse Mercator on MapInfo's datum 152 (JGD2000)
  // or 104 (JGD2011); scale 0.9999 at the origin, no false easting or northing.
  const char* mapInfoDatum = datum == PlaneDatum::kJgd2011 ? "104" : "152";
  return std::string("CoordSys Earth Projection 8, ") + mapInfoDatum + ", \"m\", " +
         kZoneOrigins[zone] + ", 0.9999, 0, 0";
}

const char* PlaneDatumName(PlaneDatum datum) {
  return datum == PlaneDatum::kJgd2011 ? "jgd2011" : "jgd2000";
}

std::string PlaneZoneName(int zone) {
  return IsPlaneZone(zone) ? std::to_string(zone) + "系" : "指定なし";
}

}  // namespace parquill
