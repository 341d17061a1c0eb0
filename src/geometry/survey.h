#pragma once

#include <cstdint>
#include <string>

// The survey computations the converter relies on: point in polygon,
// exchanging two coordinates and rounding. (The fourth, DXFVer, reads a
// drawing and lives with the DXF readers.)
namespace parquill::survey {

// Where the point (px, py) lies against the polygon of the n points x[0..n-1],
// y[0..n-1] (closed implicitly from the last point back to the first):
// greater than 0 outside, 0 on an edge or a vertex, less than 0 inside.
std::int16_t InPolygon(std::int16_t n, const double* x, const double* y, double px, double py);

// Exchanges a and b.
void dswap(double& a, double& b);

// Rounds to `digits` decimal places, halves away from zero, judged on the
// value's shortest decimal text (so 0.125 and 1.000005 are halves).
double round(double value, std::int32_t digits);

}  // namespace parquill::survey
