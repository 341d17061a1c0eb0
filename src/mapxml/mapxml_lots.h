#pragma once

#include <cstdint>
#include <vector>

#include "geometry/lot_model.h"
#include "mapxml/mapxml_document.h"

// The lots of a 地図XML file as rings of points, made from the references
// read: each lot's surface, its rings' curves (each in its orientation) and
// the curves' points.
namespace parquill::mapxml {

// A point of a ring: X north and Y east as the file gives them, and the
// point's index in the document (-1 for a position given in place).
struct RingPoint {
  double x = 0;
  double y = 0;
  std::int32_t point = -1;
};

struct LotRing {
  std::uint32_t firstPoint = 0;  // in MapLots::points
  std::uint32_t pointCount = 0;  // closed: the last point repeats the first
  bool exterior = true;
};

struct MapLot {
  std::uint32_t entry = 0;  // in MapXmlDocument::lots
  std::uint32_t firstRing = 0;
  std::uint32_t ringCount = 0;  // the exterior rings first
  bool hasHoles = false;
};

struct MapLots {
  std::vector<MapLot> lots;
  std::vector<LotRing> rings;
  std::vector<RingPoint> points;
  std::vector<std::uint32_t> leftOut;  // the entries of the lots left out, in file order
};

// Makes every lot of the document, those outside (IsOutsideLot) left out unless
// `includeOutside`. A reference that names nothing, or names something of
// another kind, raises a MapXmlError with the line of what refers.
MapLots MakeLots(const MapXmlDocument& document, bool includeOutside);

}  // namespace parquill::mapxml
