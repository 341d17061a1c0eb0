#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "dxf/dxf_reading.h"
#include "geometry/plane_point.h"

namespace parquill {

// One LWPOLYLINE of the drawing as the map shows it; also the other line
// work (a LINE, an ARC made into chords, an R12 POLYLINE).
struct PreviewPolyline {
  std::string layer;
  std::vector<PlanePoint> points;  // the vertices as drawn, no closing point added
  bool closed = false;             // flag exactly 1, or the last vertex back on the first
                                   // within 0.001: the rings the region builder would write
};

// One TEXT or MTEXT entity (MTEXT strings cleaned of their formatting codes).
struct PreviewText {
  std::string layer;
  std::string text;
  double x = 0;  // where the text stands (DxfEntity::TextPoint)
  double y = 0;
};

// How much of a drawing the map keeps, so that a huge drawing cannot take all
// the memory: what lies beyond is counted, not kept.
struct PreviewLimits {
  std::size_t polylines = 200'000;
  std::size_t vertices = 1'000'000;
  std::size_t texts = 200'000;
};

// The drawing's lots, line work and texts for the map: the LWPOLYLINE,
// POLYLINE, LINE, ARC, TEXT and MTEXT entities of the ENTITIES section, in
// drawing order.
struct DrawingPreview {
  std::vector<PreviewPolyline> polylines;  // the LWPOLYLINEs
  std::vector<PreviewPolyline> lines;      // the other line work
  std::vector<PreviewText> texts;
  std::size_t polylinesLeftOut = 0;  // beyond the limits
  std::size_t textsLeftOut = 0;
  bool readable = true;  // false when the file could not be read to its end
  bool cancelled = false;
};

// Reads the drawing's entities once (an entity with a coordinate that is no
// number is left out). Never throws: a file that cannot be
// read (or that breaks off) gives what was read, with `readable` false.
// `cancel`, when given, is looked at now and then; once it is true the
// reading stops and returns what it has, with `cancelled` set.
DrawingPreview ReadDrawingPreview(const std::string& path, DxfReading reading,
                                  const PreviewLimits& limits = {},
                                  const std::atomic<bool>* cancel = nullptr);

}  // namespace parquill
