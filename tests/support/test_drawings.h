#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text_codec.h"

// Small drawings for the tests, built line by line.
namespace parquill::testing {

using Lines = std::vector<std::string>;
using Point = std::pair<std::string, std::string>;  // the X and Y value lines

inline std::string Sjis(std::string_view text) { return EncodeText(text, TextEncoding::kCp932); }

inline Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Lines& operator+=(Lines& a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Joins lines with CR LF after each.
inline std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// An LWPOLYLINE as a DXF writer puts it: the groups of `beforeVertices`
// stand between the flag and the first vertex, those of `perVertex` after
// each vertex's Y.
inline Lines LwPolyline(std::string_view layer, std::string_view flag,
                        const std::vector<Point>& points, const Lines& beforeVertices = {},
                        const Lines& perVertex = {}) {
  Lines lines = {"  0", "LWPOLYLINE",
                 "  5", "2F",
                 "330", "1F",
                 "100", "AcDbEntity",
                 "  8", std::string(layer),
                 "100", "AcDbPolyline",
                 " 90", std::to_string(points.size()),
                 " 70", std::string(flag)};
  lines += beforeVertices;
  for (const Point& p : points) {
    lines += Lines{" 10", p.first, " 20", p.second};
    lines += perVertex;
  }
  return lines;
}

inline Lines Entities(const Lines& entities) {
  return Lines{"  0", "SECTION", "  2", "ENTITIES"} + entities +
         Lines{"  0", "ENDSEC", "  0", "EOF"};
}

// A unit square's corners, counter-clockwise from (0, 0).
inline std::vector<Point> Square() { return {{"0", "0"}, {"1", "0"}, {"1", "1"}, {"0", "1"}}; }

}  // namespace parquill::testing
