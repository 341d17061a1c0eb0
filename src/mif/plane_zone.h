#pragma once

#include <string>

namespace parquill {

// The zones (系) of the Japan Plane Rectangular Coordinate System
// (平面直角座標系), 1 to 19, in which a surveyor's drawing is measured in
// metres; 0 when the user names none.
inline constexpr int kNoPlaneZone = 0;
inline constexpr int kLastPlaneZone = 19;

constexpr bool IsPlaneZone(int zone) { return zone >= 1 && zone <= kLastPlaneZone; }

// The geodetic datum of the plane zones: JGD2000 (MapInfo datum 152, EPSG
// 2443 to 2461) or JGD2011 (datum 104, EPSG 6669 to 6687), as GDAL writes them.
enum class PlaneDatum { kJgd2000, kJgd2011 };

// Line 4 of the MIF header: the zone's transverse Mercator on the datum as
// MapInfo names it (the drawing's X as easting, Y as northing), or, without a
// zone, the plain earth system every MIF file had before.
std::string MifCoordinateSystemLine(int zone, PlaneDatum datum);

// "jgd2011" or "jgd2000", as the command line names them.
const char* PlaneDatumName(PlaneDatum datum);

// "9系", or "指定なし" without a zone.
std::string PlaneZoneName(int zone);

}  // namespace parquill
