#pragma once

// Drawing lots as the region build hands them on, made from rings given here.
#include <string>
#include <vector>

#include "convert/drawing_lots.h"

namespace parquill::testing {

using PointRing = std::vector<PlanePoint>;

// One lot per ring, with the lot numbers given (the others empty).
inline LotModel DrawnLots(const std::vector<PointRing>& rings,
                          const std::vector<std::string>& chibans = {}) {
  LotModel lots = NewDrawingLots();
  for (std::size_t l = 0; l < rings.size(); ++l) {
    lots.AddLot();
    lots.AddRing();
    for (const PlanePoint& point : rings[l]) lots.AddPoint(point);
    if (l < chibans.size()) lots.Value(l, 0) = chibans[l];
  }
  return lots;
}

// A square from (x, y) with side s, closed.
inline PointRing SquareRing(double x, double y, double s) {
  return {{x, y}, {x + s, y}, {x + s, y + s}, {x, y + s}, {x, y}};
}

}  // namespace parquill::testing
