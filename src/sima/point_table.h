#pragma once

#include <vector>

#include "base/limits.h"
#include "geometry/point_grid.h"

namespace parquill {

// The distinct boundary points of one conversion, numbered from 1 in the order
// in which they are first met. Two points are the same when they differ by at
// most the tolerance in X and in Y (bounds inclusive); a search gives the
// lowest-numbered point that matches (WithinTolerance). Points are only added.
// The search looks only at the grid cells around the point searched.
class PointTable {
 public:
  static constexpr int kCapacity = 15000;

  PointTable();

  // The number of the first point within the tolerance of (x, y); 0 when none.
  int Find(double x, double y) const;
  // Adds (x, y) as the next point and returns its number; 0 when the table is
  // full (nothing is added).
  int Add(double x, double y);
  // The number Find gives (x, y), or else the number Add gives it.
  int FindOrAdd(double x, double y);

  int count() const { return static_cast<int>(x_.size()) - 1; }
  // The coordinates of point k (1 to count()).
  double X(int k) const { return x_[static_cast<std::size_t>(k)]; }
  double Y(int k) const { return y_[static_cast<std::size_t>(k)]; }

 private:
  PointGrid grid_;
  // Slot 0 is left empty, so point k lives at index k.
  std::vector<double> x_;
  std::vector<double> y_;
};

}  // namespace parquill
