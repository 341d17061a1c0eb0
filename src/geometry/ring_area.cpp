#include "geometry/ring_area.h"

#include <cmath>

namespace parquill {

void ShoelaceSum::Add(double x, double y) {
  if (!started_) {
    started_ = true;
    x0_ = x;
    y0_ = y;
    return;
  }
  const double dx = x - x0_;
  const double dy = y - y0_;
  twice_ += lastX_ * dy - dx * lastY_;
  lastX_ = dx;
  lastY_ = dy;
}

// The closing edge runs back to the first vertex, (0, 0) about itself: its term is 0.
double ShoelaceSum::Area() const { return std::abs(twice_) / 2; }

}  // namespace parquill
