#include "mif/plane_zone.h"

namespace parquill {
namespace {

// Each zone's origin, longitude then latitude in degrees, as MapInfo writes
// them (JGD2000, EPSG 2443 to 2461).
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

std::string MifCoordinateSystemLine(int zone) {
  if (!IsPlaneZone(zone)) return "Coordsys Earth Projection 1,0";
  // Projection 8 is the transverse Mercator, datum 152 JGD2000; scale 0.9999
  // at the origin, no false easting or northing.
  return std::string("CoordSys Earth Projection 8, 152, \"m\", ") + kZoneOrigins[zone] +
         ", 0.9999, 0, 0";
}

std::string PlaneZoneName(int zone) {
  return IsPlaneZone(zone) ? std::to_string(zone) + "系" : "指定なし";
}

}  // namespace parquill
