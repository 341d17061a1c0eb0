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

// A polyline as drawn: its vertices, each bulged segment (the closing one of a
// closed polyline too) as an arc of chords too short to be seen; the first
// vertex not repeated. A segment whose arc would take more than `most` points
// stays straight.
std::vector<PlanePoint> DrawnOutline(const std::vector<DxfEntity::Vertex>& vertices,
                                     bool closedByFlag, std::size_t most) {
  std::vector<PlanePoint> points;
  for (std::size_t k = 0; k < vertices.size(); ++k) {
    const PlanePoint from{vertices[k].x, vertices[k].y};
    if (k == 0) points.push_back(from);
    const bool closing = k + 1 == vertices.size();
    if (closing && !closedByFlag) break;
    const PlanePoint to =
        closing ? points.front() : PlanePoint{vertices[k + 1].x, vertices[k + 1].y};
    const double bulge = vertices[k].bulge;
    if (bulge != 0 && BulgeChordCount(from, to, bulge) <= most) {
      AppendBulgeChords(points, from, to, bulge);
    } else {
      points.push_back(to);
    }
    if (closing) points.pop_back();  // the first vertex again
  }
  return points;
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
      if (e.vertices.empty()) return;
      const DxfEntity::Vertex& first = e.vertices.front();
      const DxfEntity::Vertex& last = e.vertices.back();
      // Flag 1, or the last vertex back on the first: the rings the region
      // builder would write.
      const bool closed = (e.flags & 1) != 0 || (WithinDrawingTolerance(first.x, last.x) &&
                                                 WithinDrawingTolerance(first.y, last.y));
      std::vector<PlanePoint> points =
          DrawnOutline(e.vertices, (e.flags & 1) != 0, limits_.vertices);
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
