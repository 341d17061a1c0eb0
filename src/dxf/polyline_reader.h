#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/limits.h"
#include "dxf/dxf_entities.h"
#include "dxf/dxf_line_source.h"
#include "dxf/dxf_reading.h"

namespace parquill {

// The ring of one LWPOLYLINE of a selected layer.
struct PolylineRing {
  std::string_view layer;         // its layer's name as the drawing writes it (not decoded)
  std::span<const double> x;      // the vertices in drawing order, the first one again
  std::span<const double> y;      // at the end when the polyline's closed bit is set
  std::span<const double> bulge;  // each vertex's bulge (42) towards the next
  bool closed = false;            // the last point lies on the first, within 0.001
  // An askew extrusion: the polyline is left out (x and y are then empty).
  bool askew = false;
};

// Reads the LWPOLYLINE entities of the drawing's ENTITIES section and hands
// the ring of each one on a layer of `layers` (the layer list's names,
// "すべて" first for every layer) to `onRing`, in drawing order, in world
// coordinates (mirrored when its extrusion points down). A drawing
// that breaks off within a polyline raises error 62; a polyline of more than
// kRingCapacity vertices, whatever its layer, error 9.
void ReadPolylineRings(DxfLineSource& drawing, const std::vector<std::string>& layers,
                       DxfReading reading, const std::function<void(const PolylineRing&)>& onRing);

}  // namespace parquill
