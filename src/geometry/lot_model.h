#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/plane_point.h"

// The lots of one conversion as every source makes them (closed polylines,
// lots from lines, 地図XML) and every writer takes them (MIF/MID, SIMA).
namespace parquill {

// An attribute column after the ID: its MIF name and its declared width in
// characters, 0 for as wide as its longest value in CP932 bytes.
struct LotColumn {
  std::string name;
  int width = 0;
};

// A boundary point of the SIMA file: where it is and its name; an empty
// name is "K" and its number.
struct BoundaryPoint {
  PlanePoint at;
  std::string name;
};

struct LotModel {
  struct Ring {
    std::uint32_t firstPoint = 0;  // in points
    std::uint32_t pointCount = 0;  // its last point repeats its first when it closes
  };
  struct Lot {
    std::uint32_t firstRing = 0;  // in rings: the exterior ring, then the holes
    std::uint32_t ringCount = 0;
  };

  std::string idType = "Integer";  // the MIF type of the ID column
  std::vector<LotColumn> columns;  // the first is the lot number (地番)
  std::vector<Lot> lots;
  std::vector<Ring> rings;
  // x east and y north (a drawing's own x and y), as the MIF file holds them.
  std::vector<PlanePoint> points;
  // lots × columns, lot after lot.
  std::vector<std::string> values;

  // The SIMA numbering, as the source gives it: each point of an exterior
  // ring has the number of its boundary point (1 for the first), each point
  // of a hole 0; boundaryPoints[k - 1] is point k.
  std::vector<std::int32_t> pointNumbers;
  std::vector<BoundaryPoint> boundaryPoints;

  // Starts a lot with empty values; its rings follow with AddRing.
  void AddLot() {
    lots.push_back({static_cast<std::uint32_t>(rings.size()), 0});
    values.resize(values.size() + columns.size());
  }
  // Adds a ring to the last lot; its points follow with AddPoint.
  void AddRing() {
    rings.push_back({static_cast<std::uint32_t>(points.size()), 0});
    ++lots.back().ringCount;
  }
  void AddPoint(PlanePoint point) {
    points.push_back(point);
    ++rings.back().pointCount;
  }

  const Ring& ExteriorOf(std::size_t lot) const { return rings[lots[lot].firstRing]; }
  std::string& Value(std::size_t lot, std::size_t column) {
    return values[lot * columns.size() + column];
  }
  const std::string& Value(std::size_t lot, std::size_t column) const {
    return values[lot * columns.size() + column];
  }
  const std::string& Chiban(std::size_t lot) const { return Value(lot, 0); }
};

// Lots whose lot number begins 地区外 (outside the surveyed district) or 別図
// (drawn on a separate sheet).
inline bool IsOutsideLot(std::string_view chiban) {
  return chiban.starts_with("地区外") || chiban.starts_with("別図");
}

}  // namespace parquill
