#include "ui/map_scene.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "geometry/ring_area.h"

namespace parquill::ui {
namespace {

void AddRing(QPainterPath& path, const std::vector<PlanePoint>& points, bool closed) {
  if (points.empty()) return;
  path.moveTo(points.front().x, points.front().y);
  for (std::size_t k = 1; k < points.size(); ++k) path.lineTo(points[k].x, points[k].y);
  if (closed) path.closeSubpath();
}

QRectF Unite(const QRectF& a, const QRectF& b) {
  if (a.isNull()) return b;
  if (b.isNull()) return a;
  return a.united(b);
}

// The layer of `layers` named `name`, added when it is not there yet.
MapLayer& LayerNamed(std::vector<MapLayer>& layers,
                     std::unordered_map<std::string, std::size_t>& index, const std::string& name) {
  auto found = index.find(name);
  if (found == index.end()) {
    found = index.emplace(name, layers.size()).first;
    layers.push_back({name, {}, LayerColour(name)});
  }
  return layers[found->second];
}

}  // namespace

const PreviewPolyline* FindOpenPolyline(const PreparedDrawing& drawing, double x, double y) {
  constexpr double kSamePoint = 1e-6;
  for (const PreviewPolyline& polyline : drawing.openPolylines) {
    const PlanePoint& first = polyline.points.front();
    if (std::abs(first.x - x) <= kSamePoint && std::abs(first.y - y) <= kSamePoint) {
      return &polyline;
    }
  }
  return nullptr;
}

QColor LayerColour(const std::string& layer) {
  const auto hash = qHash(QByteArray::fromStdString(layer));
  return QColor::fromHsv(static_cast<int>(hash % 360), 200, 170);
}

QColor OutcomeColour(RegionOutcome outcome) {
  switch (outcome) {
    case RegionOutcome::kNumbered:
      return QColor(170, 220, 160);  // green: lot number found
    case RegionOutcome::kNoChiban:
      return QColor(240, 150, 150);  // red: no lot number
    case RegionOutcome::kSeveralTexts:
      return QColor(245, 205, 100);  // amber: several texts, the first one won
  }
  return Qt::gray;
}

QColor StrayTextColour() { return QColor(200, 0, 160); }

std::shared_ptr<const PreparedDrawing> PrepareDrawing(const DrawingPreview& drawing, double scale) {
  auto prepared = std::make_shared<PreparedDrawing>();
  auto scaled = [scale](std::vector<PlanePoint> points) {
    if (scale != 1) {
      for (PlanePoint& point : points) point = {point.x * scale, point.y * scale};
    }
    return points;
  };
  std::unordered_map<std::string, std::size_t> index;
  for (const PreviewPolyline& polyline : drawing.polylines) {
    std::vector<PlanePoint> points = scaled(polyline.points);
    AddRing(LayerNamed(prepared->layers, index, polyline.layer).path, points, polyline.closed);
    if (!polyline.closed && !points.empty()) {
      prepared->openPolylines.push_back({polyline.layer, std::move(points), false});
    }
  }
  std::unordered_map<std::string, std::size_t> lineIndex;
  for (const PreviewPolyline& line : drawing.lines) {
    AddRing(LayerNamed(prepared->lineWork, lineIndex, line.layer).path, scaled(line.points),
            line.closed);
  }
  prepared->texts = drawing.texts;
  for (PreviewText& text : prepared->texts) {
    text.x *= scale;
    text.y *= scale;
  }
  QRectF extent;
  for (const MapLayer& layer : prepared->layers) extent = Unite(extent, layer.path.boundingRect());
  for (const MapLayer& layer : prepared->lineWork) {
    extent = Unite(extent, layer.path.boundingRect());
  }
  for (const PreviewText& text : prepared->texts) {
    extent = Unite(extent, QRectF(text.x, text.y, 0, 0).adjusted(-0.5, -0.5, 0.5, 0.5));
  }
  prepared->extent = extent;
  prepared->polylinesLeftOut = drawing.polylinesLeftOut;
  prepared->textsLeftOut = drawing.textsLeftOut;
  return prepared;
}

RegionOutlines OutlinesOf(const LotModel& lots) {
  RegionOutlines outlines;
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const LotModel::Ring& ring = lots.ExteriorOf(l);
    const auto first = lots.points.begin() + ring.firstPoint;
    outlines.rings.emplace_back(first, first + ring.pointCount);
  }
  return outlines;
}

std::shared_ptr<const PreparedRegions> PrepareRegions(const RegionOutlines& outlines) {
  auto prepared = std::make_shared<PreparedRegions>();
  for (const auto& ring : outlines.rings) AddRing(prepared->outlines, ring, true);
  prepared->extent = prepared->outlines.boundingRect();
  prepared->count = outlines.rings.size();
  prepared->rings = outlines.rings;
  return prepared;
}

std::shared_ptr<const PreparedReport> PrepareReport(ConversionReport report) {
  auto prepared = std::make_shared<PreparedReport>();
  QRectF extent;
  std::vector<double> areas;
  for (const ReportRegion& region : report.regions) {
    QPainterPath path;
    AddRing(path, region.ring, true);
    extent = Unite(extent, path.boundingRect());
    prepared->regions.push_back(std::move(path));
    areas.push_back(RingArea(region.ring));
  }
  const std::size_t count = areas.size();
  prepared->largestFirst.resize(count);
  std::iota(prepared->largestFirst.begin(), prepared->largestFirst.end(), std::size_t{0});
  std::stable_sort(prepared->largestFirst.begin(), prepared->largestFirst.end(),
                   [&areas](std::size_t a, std::size_t b) { return areas[a] > areas[b]; });
  // A smaller region whose box lies in a region's box and whose first vertex
  // lies in the region itself is inside it.
  prepared->regionsInside.resize(count);
  std::vector<QRectF> boxes;
  for (const QPainterPath& path : prepared->regions) boxes.push_back(path.boundingRect());
  for (std::size_t outer = 0; outer < count; ++outer) {
    for (std::size_t inner = 0; inner < count; ++inner) {
      if (inner == outer || areas[inner] >= areas[outer]) continue;
      if (!boxes[outer].contains(boxes[inner]) || report.regions[inner].ring.empty()) continue;
      const PlanePoint& first = report.regions[inner].ring.front();
      if (prepared->regions[outer].contains(QPointF(first.x, first.y)) ||
          prepared->regions[outer].intersects(prepared->regions[inner])) {
        prepared->regionsInside[outer].push_back(inner);
      }
    }
  }
  for (const ChibanText& text : report.texts) {
    extent = Unite(extent, QRectF(text.x, text.y, 0, 0).adjusted(-0.5, -0.5, 0.5, 0.5));
  }
  prepared->report = std::move(report);
  prepared->extent = extent;
  return prepared;
}

}  // namespace parquill::ui
