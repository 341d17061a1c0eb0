#pragma once

#include "mapxml/mapxml_lots.h"

// Lots whose rings do not bound a proper area. They are written as the file
// gives them; the user is told which.
namespace parquill::mapxml {

// A ring of less area than this (square metres) encloses none: the
// registry's coordinates are given to the millimetre.
inline constexpr double kLeastRingArea = 1e-6;

enum class ShapeFault {
  kNone,
  kNoArea,       // a ring encloses no area (its points on one line, or back and forth)
  kCrossing,     // a ring crosses or runs along itself (a bow tie)
  kHoleOutside,  // a hole has a point outside every exterior ring of its lot
};

struct LotShapeFault {
  ShapeFault fault = ShapeFault::kNone;
  bool exterior = true;  // whether the ring at fault is an exterior ring
};

// The first fault of the lot's rings, exterior rings first. Two sides that
// only meet where both end (a ring that touches itself at a point) are not
// a crossing.
LotShapeFault FindShapeFault(const MapLots& lots, const MapLot& lot);

}  // namespace parquill::mapxml
