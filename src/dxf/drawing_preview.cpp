#include "dxf/drawing_preview.h"

#include <cmath>
#include <new>
#include <numbers>
#include <unordered_map>

#include "base/limits.h"
#include "base/runtime_error.h"
#include "base/trim.h"
#include "dxf/dxf_entities.h"
#include "dxf/dxf_escapes.h"
#include "geometry/arc_chords.h"

namespace parquill {
namespace {

bool Shown(std::string_view type) {
  return type == "LWPOLYLINE" || type == "POLYLINE" || type == "LINE" || type == "ARC" ||
         type == "TEXT" || type == "MTEXT";
}

// Collects the entities the map shows, within the limits.
class PreviewScan {
 public:
  PreviewScan(TextEncoding encoding, const PreviewLimits& limits, DrawingPreview& result)
      : encoding_(encoding), limits_(limits), result_(result) {}

  void Take(const DxfEntity& e) {
    if (e.type == "TEXT" || e.type == "MTEXT") {
      KeepText(e);
    } else if (e.type == "LINE") {
      KeepLine({e.point, e.second}, false, e.layer, result_.lines);
    } else if (e.type == "ARC") {
      KeepArc(e);
    } else if (e.type == "POLYLINE" && (e.flags & (16 | 64)) != 0) {
      // 3D meshes and polyface meshes are not drawn.
    } else {
      std::vector<PlanePoint> points;
      for (const DxfEntity::Vertex& v : e.vertices) points.push_back({v.x, v.y});
      if (points.empty()) return;
      const PlanePoint& first = points.front();
      const PlanePoint& last = points.back();
      // Flag 1, or the last vertex back on the first: the rings the region
      // builder would write.
      const bool closed = (e.flags & 1) != 0 || (WithinDrawingTolerance(first.x, last.x) &&
                                                 WithinDrawingTolerance(first.y, last.y));
      KeepLine(std::move(points), closed, e.layer,
               e.type == "LWPOLYLINE" ? result_.polylines : result_.lines);
    }
  }

 private:
  void KeepLine(std::vector<PlanePoint> points, bool closed, const std::string& layer,
                std::vector<PreviewPolyline>& kept) {
    if (result_.polylines.size() + result_.lines.size() >= limits_.polylines ||
        verticesKept_ + points.size() > limits_.vertices) {
      ++result_.polylinesLeftOut;
      return;
    }
    verticesKept_ += points.size();
    kept.push_back({Layer(layer), std::move(points), closed});
  }

  void KeepArc(const DxfEntity& e) {
    if (!(e.size > 0)) return;
    double sweep = std::fmod(e.endAngle - e.angle, 360.0);
    if (sweep <= 0) sweep += 360;
    const double start = e.angle * std::numbers::pi / 180;
    sweep *= std::numbers::pi / 180;
    if (ChordCount(e.size, sweep) > limits_.vertices) return;
    std::vector<PlanePoint> points{
        {e.point.x + e.size * std::cos(start), e.point.y + e.size * std::sin(start)}};
    AppendArcChords(points, e.point.x, e.point.y, e.size, start, sweep);
    KeepLine(std::move(points), false, e.layer, result_.lines);
  }

  void KeepText(const DxfEntity& e) {
    if (result_.texts.size() >= limits_.texts) {
      ++result_.textsLeftOut;
      return;
    }
    const PlanePoint at = e.TextPoint();
    result_.texts.push_back(
        {Layer(e.layer), std::string(TrimBlanks(e.DecodedString(encoding_))), at.x, at.y});
  }

  // The layer's name, decoded once per distinct name.
  const std::string& Layer(const std::string& bytes) {
    auto found = layers_.find(bytes);
    if (found == layers_.end())
      found = layers_.emplace(bytes, DecodeDxfText(bytes, encoding_)).first;
    return found->second;
  }

  TextEncoding encoding_;
  const PreviewLimits& limits_;
  DrawingPreview& result_;
  std::unordered_map<std::string, std::string> layers_;
  std::size_t verticesKept_ = 0;
};

}  // namespace

DrawingPreview ReadDrawingPreview(const std::string& path, DxfReading reading,
                                  const PreviewLimits& limits, const std::atomic<bool>* cancel) {
  DrawingPreview result;
  PreviewScan scan(reading.encoding, limits, result);
  try {
    ReadDxfEntities(
        path, Shown,
        [&](const DxfEntity& e) {
          if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            result.cancelled = true;
            return false;
          }
          if (e.badLine == 0) scan.Take(e);
          return true;
        },
        reading.unitsPerMetre);
  } catch (const RuntimeError&) {
    result.readable = false;
  } catch (const std::bad_alloc&) {
    result.readable = false;
  }
  return result;
}

}  // namespace parquill
