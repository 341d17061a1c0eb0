#pragma once

#include <cstddef>

#include "geometry/lot_model.h"

// The lots of a drawing as its region build makes them.
namespace parquill {

// No lots yet; the MIF columns every drawing's files have: ID Char(8) and
// Chiban Char(20), as declared whatever the lot numbers' width.
LotModel NewDrawingLots();

// Adds a lot of one ring, each point as the MIF file holds it: the value
// its five-decimal text reads back as, so that the lot numbers and the SIMA
// file are found from what the MIF file says.
void AddDrawnLot(LotModel& lots, const double* x, const double* y, std::size_t count);

}  // namespace parquill
