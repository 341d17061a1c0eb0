#include "geometry/point_in_polygon.h"

#include <cmath>

namespace parquill {

std::int16_t InPolygon(std::int16_t n, const double* x, const double* y, double px, double py) {
  if (n <= 0) return 1;
  bool inside = false;
  for (int i = 0, j = n - 1; i < n; j = i++) {
    double xi = x[i], yi = y[i], xj = x[j], yj = y[j];
    // On the edge from j to i (a vertex, or collinear and within its box)?
    double cross = (xi - xj) * (py - yj) - (yi - yj) * (px - xj);
    if (cross == 0 && px >= std::fmin(xi, xj) && px <= std::fmax(xi, xj) &&
        py >= std::fmin(yi, yj) && py <= std::fmax(yi, yj)) {
      return 0;
    }
    // Crossing rule, half-open in y, so horizontal edges and vertices count once.
    if ((yi > py) != (yj > py)) {
      double xCross = xj + (py - yj) * (xi - xj) / (yi - yj);
      if (px < xCross) inside = !inside;
    }
  }
  return inside ? -1 : 1;
}

}  // namespace parquill
