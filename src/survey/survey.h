#pragma once

#include <cstdint>
#include <string>

// The four survey computations the converter relies on: telling a drawing's
// DXF version, point in polygon, exchanging two coordinates and rounding.
namespace parquill::survey {

// The version code of a DXF file: 2 (AC1002), 3 (AC1003), 9 (AC1004),
// 10 (AC1006), 12 (R12, AC1009), 13 (R13, AC1012), 14 (R14, AC1014),
// 2000 (AC1015), 2004 (AC1018), 2007 (AC1021), 2010 (AC1024), 2013 (AC1027),
// 2018 (AC1032); 0 for any other version string, a drawing without
// $ACADVER, an empty path or a file that cannot be read. Never throws.
std::int32_t DXFVer(const std::string& path);

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
