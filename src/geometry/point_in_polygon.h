#pragma once

#include <cstdint>

namespace parquill {

// Where the point (px, py) lies against the polygon of the n points x[0..n-1],
// y[0..n-1] (closed implicitly from the last point back to the first):
// greater than 0 outside, 0 on an edge or a vertex, less than 0 inside.
std::int16_t InPolygon(std::int16_t n, const double* x, const double* y, double px, double py);

}  // namespace parquill
