#pragma once

#include <vector>

#include "geometry/lot_model.h"

namespace parquill {

// Where a lot's number goes: the centre of the largest circle inside the lot
// and outside its holes, and that circle's radius.
struct LotLabelPlace {
  PlanePoint centre;
  double radius = 0;
};

// The place of each lot's number, lot by lot (GEOS's maximum inscribed
// circle, sought coarsely, and finely where that leaves the centre out of
// the lot). A lot of fewer than three corners, or more than ten thousand
// times as long as it is wide, gets its first point and radius 0.
std::vector<LotLabelPlace> LotLabelPlaces(const LotModel& lots);

}  // namespace parquill
