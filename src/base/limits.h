#pragma once

#include <cmath>

// The limits and the coordinate tolerance every step shares.
namespace parquill {

// The most points one ring may have, its closing point included.
inline constexpr int kRingCapacity = 1000;
// The most lots the SIMA file of a drawing takes.
inline constexpr int kSimaLotCapacity = 2000;

// Two coordinates are one when they differ by at most this.
inline constexpr double kCoordinateTolerance = 0.001;

// The tolerance for coordinates as the drawing gives them (any number of
// decimals): the bound taken as it is. The region builder closes a ring by it.
inline bool WithinDrawingTolerance(double a, double b) {
  return std::fabs(a - b) <= kCoordinateTolerance;
}

// The tolerance for coordinates of five decimals, as the MIF file holds them:
// a difference of exactly 0.001 in decimal must match at any magnitude, so a
// slack far below the fifth decimal absorbs what the binary values add to it.
// The point table and the closure of a lot's ring use it.
inline bool WithinTolerance(double a, double b) {
  constexpr double kSlack = 1e-7;
  return std::fabs(a - b) <= kCoordinateTolerance + kSlack;
}

}  // namespace parquill
