#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "convert/conversion_report.h"
#include "dxf/drawing_preview.h"
#include "geometry/lot_model.h"

namespace parquill::ui {

// What the map draws, prepared once (on any thread) so that painting only
// replays paths. Coordinates are the drawing's; the map turns Y upwards.

struct MapLayer {
  std::string name;
  QPainterPath path;  // every polyline of the layer
  QColor colour;
};

struct PreparedDrawing {
  std::vector<MapLayer> layers;  // in the order the drawing first uses them
  // The other line work (LINEs, ARCs as chords, R12 POLYLINEs), by layer alike.
  std::vector<MapLayer> lineWork;
  std::vector<PreviewText> texts;
  // The polylines whose ring does not close, as drawn: the region builder
  // passes them over, and the report points to them by their first vertex.
  std::vector<PreviewPolyline> openPolylines;
  QRectF extent;
  std::size_t polylinesLeftOut = 0;
  std::size_t textsLeftOut = 0;
};

// The regions of a run as outlines for the map: each lot's exterior ring.
struct RegionOutlines {
  std::vector<std::vector<PlanePoint>> rings;  // in MIF order, closing point included
};
RegionOutlines OutlinesOf(const LotModel& lots);

struct PreparedRegions {
  QPainterPath outlines;                       // every region of the MIF file
  std::vector<std::vector<PlanePoint>> rings;  // each region's, as the MIF file holds it
  QRectF extent;
  std::size_t count = 0;
};

struct PreparedReport {
  ConversionReport report;
  std::vector<QPainterPath> regions;  // one per report region
  // The regions largest first, the order they are drawn in, so that a region
  // around others (a frame, a whole block) never hides them.
  std::vector<std::size_t> largestFirst;
  // For each region, the smaller regions that lie inside it: its lot number
  // stays off them.
  std::vector<std::vector<std::size_t>> regionsInside;
  QRectF extent;
};

// `scale` turns the drawing's units into the map's (0.001 when the map is in
// metres and the drawing in millimetres).
std::shared_ptr<const PreparedDrawing> PrepareDrawing(const DrawingPreview& drawing,
                                                      double scale = 1);
std::shared_ptr<const PreparedRegions> PrepareRegions(const RegionOutlines& outlines);
std::shared_ptr<const PreparedReport> PrepareReport(ConversionReport report);

// The open polyline of `drawing` whose first vertex is (x, y), if it holds one.
const PreviewPolyline* FindOpenPolyline(const PreparedDrawing& drawing, double x, double y);

// A layer's colour: fixed for its name, dark enough to read on white.
QColor LayerColour(const std::string& layer);

// The fill of a region by its outcome in the attachment.
QColor OutcomeColour(RegionOutcome outcome);
// The mark of a text of the text layer that lies in no region.
QColor StrayTextColour();

}  // namespace parquill::ui
