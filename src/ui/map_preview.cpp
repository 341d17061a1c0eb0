#include "ui/map_preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace parquill::ui {
namespace {

const QColor kBackground = Qt::white;
const QColor kTextDot(60, 60, 60);
const QColor kDimmedLine(200, 200, 200);
const QColor kRegionFill(120, 160, 230, 90);
const QColor kRegionLine(40, 70, 160);
const QColor kOutcomeLine(90, 90, 90);

// Labels are written only when at most this many stand in the panel.
constexpr int kMostLabels = 400;
// The share of the panel a fitted drawing takes.
constexpr double kFitShare = 0.92;

QPen CosmeticPen(const QColor& colour, double width) {
  QPen pen(colour, width);
  pen.setCosmetic(true);
  return pen;
}

// The points among `points` that stand in `area` once mapped, or nothing
// when more than kMostLabels do.
template <typename Item, typename PointOf>
std::vector<std::pair<const Item*, QPointF>> LabelsIn(const std::vector<Item>& items,
                                                      PointOf pointOf, const QTransform& toScreen,
                                                      const QRectF& area) {
  std::vector<std::pair<const Item*, QPointF>> shown;
  for (const Item& item : items) {
    QPointF at = toScreen.map(pointOf(item));
    if (!area.contains(at)) continue;
    if (static_cast<int>(shown.size()) == kMostLabels) return {};
    shown.emplace_back(&item, at);
  }
  return shown;
}

}  // namespace

MapPreview::MapPreview(QWidget* parent) : QWidget(parent) {
  setMouseTracking(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::OpenHandCursor);
  setToolTip(QStringLiteral("ドラッグで移動、ホイールで拡大・縮小"));
}

void MapPreview::ShowDrawing(std::shared_ptr<const PreparedDrawing> drawing) {
  drawing_ = std::move(drawing);
  regions_.reset();
  report_.reset();
  marker_.reset();
  FitAll();
}

void MapPreview::ShowRegions(std::shared_ptr<const PreparedRegions> regions) {
  regions_ = std::move(regions);
  report_.reset();
  marker_.reset();
  FitAll();
}

void MapPreview::ShowReport(std::shared_ptr<const PreparedReport> report) {
  report_ = std::move(report);
  marker_.reset();
  FitAll();
}

void MapPreview::Clear() {
  drawing_.reset();
  regions_.reset();
  report_.reset();
  emphasised_.clear();
  allEmphasised_ = false;
  marker_.reset();
  Invalidate();
}

void MapPreview::SetEmphasisedLayers(std::set<std::string> layers, bool allLayers) {
  if (layers == emphasised_ && allLayers == allEmphasised_) return;
  emphasised_ = std::move(layers);
  allEmphasised_ = allLayers;
  Invalidate();
}

QRectF MapPreview::Extent() const {
  QRectF extent;
  auto unite = [&extent](const QRectF& more) {
    if (more.isNull()) return;
    extent = extent.isNull() ? more : extent.united(more);
  };
  if (drawing_) unite(drawing_->extent);
  if (regions_) unite(regions_->extent);
  if (report_) unite(report_->extent);
  return extent;
}

void MapPreview::FitAll() {
  const QRectF extent = Extent();
  centre_ = extent.center();
  const double w = std::max(extent.width(), 1e-9);
  const double h = std::max(extent.height(), 1e-9);
  if (extent.width() <= 0 && extent.height() <= 0) {
    scale_ = 1;
  } else {
    scale_ = kFitShare * std::min(width() / w, height() / h);
  }
  Invalidate();
}

void MapPreview::CenterOn(double x, double y) {
  centre_ = QPointF(x, y);
  marker_ = centre_;
  Invalidate();
}

QTransform MapPreview::WorldToScreen(QPointF centre) const {
  return QTransform(scale_, 0, 0, -scale_, width() / 2.0 - centre.x() * scale_,
                    height() / 2.0 + centre.y() * scale_);
}

QPointF MapPreview::ToScreen(QPointF world) const { return WorldToScreen(centre_).map(world); }

QPointF MapPreview::ToWorld(QPointF screen) const {
  return WorldToScreen(centre_).inverted().map(screen);
}

void MapPreview::Invalidate() {
  cacheValid_ = false;
  update();
}

void MapPreview::paintEvent(QPaintEvent*) {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (!cacheValid_ || cache_.size() != pixels || cacheScale_ != scale_ ||
      (!panning_ && cacheCentre_ != centre_)) {
    cache_ = QPixmap(pixels);
    cache_.setDevicePixelRatio(ratio);
    QPainter picture(&cache_);
    RenderPicture(picture);
    cacheCentre_ = centre_;
    cacheScale_ = scale_;
    cacheValid_ = true;
  }
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  // While dragging, the picture moves with the pointer.
  const QPointF shift((cacheCentre_.x() - centre_.x()) * scale_,
                      (centre_.y() - cacheCentre_.y()) * scale_);
  painter.drawPixmap(shift, cache_);
  if (marker_) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::blue, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ToScreen(*marker_), 12, 12);
  }
  DrawLegend(painter);
  painter.setPen(palette().color(QPalette::Mid));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MapPreview::RenderPicture(QPainter& painter) const {
  painter.fillRect(rect(), kBackground);
  if (!drawing_ && !regions_ && !report_) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("DXF ファイルを選ぶと、ここに図面を表示します"));
    return;
  }
  const QTransform toScreen = WorldToScreen(centre_);
  if (report_) {
    DrawReport(painter, toScreen);
  } else {
    if (regions_) DrawRegions(painter, toScreen);
    DrawDrawing(painter, toScreen);
  }
}

void MapPreview::DrawDrawing(QPainter& painter, const QTransform& toScreen) const {
  if (!drawing_) return;
  const bool emphasis = allEmphasised_ || !emphasised_.empty();
  auto emphasised = [&](const MapLayer& layer) {
    return allEmphasised_ || emphasised_.count(layer.name) > 0;
  };
  painter.save();
  painter.setTransform(toScreen);
  painter.setBrush(Qt::NoBrush);
  for (const MapLayer& layer : drawing_->layers) {
    if (emphasis && emphasised(layer)) continue;
    painter.setPen(CosmeticPen(emphasis ? kDimmedLine : layer.colour, 1));
    painter.drawPath(layer.path);
  }
  if (emphasis) {
    painter.setRenderHint(QPainter::Antialiasing);
    for (const MapLayer& layer : drawing_->layers) {
      if (!emphasised(layer)) continue;
      painter.setPen(CosmeticPen(layer.colour, 2.5));
      painter.drawPath(layer.path);
    }
  }
  painter.restore();

  QPolygonF dots;
  dots.reserve(static_cast<int>(drawing_->texts.size()));
  for (const PreviewText& text : drawing_->texts) dots << toScreen.map(QPointF(text.x, text.y));
  painter.setPen(CosmeticPen(kTextDot, 3));
  painter.drawPoints(dots);

  auto labels = LabelsIn(
      drawing_->texts, [](const PreviewText& t) { return QPointF(t.x, t.y); }, toScreen,
      QRectF(rect()));
  QFont font = painter.font();
  font.setPointSizeF(8);
  painter.setFont(font);
  for (const auto& [text, at] : labels) {
    painter.drawText(at + QPointF(4, -3), QString::fromStdString(text->text));
  }
}

void MapPreview::DrawRegions(QPainter& painter, const QTransform& toScreen) const {
  painter.save();
  painter.setTransform(toScreen);
  painter.setPen(CosmeticPen(kRegionLine, 1.5));
  painter.setBrush(kRegionFill);
  painter.drawPath(regions_->outlines);
  painter.restore();
}

void MapPreview::DrawReport(QPainter& painter, const QTransform& toScreen) const {
  const ConversionReport& report = report_->report;
  painter.save();
  painter.setTransform(toScreen);
  painter.setPen(CosmeticPen(kOutcomeLine, 1));
  for (std::size_t i = 0; i < report.regions.size(); ++i) {
    painter.setBrush(OutcomeColour(report.regions[i].outcome));
    painter.drawPath(report_->regions[i]);
  }
  painter.restore();

  painter.setRenderHint(QPainter::Antialiasing);
  // Every text of the text layer as a dot; the winner of a region with
  // several texts ringed, the others crossed out.
  painter.setPen(CosmeticPen(kTextDot, 3));
  QPolygonF dots;
  for (const ChibanText& text : report.texts) dots << toScreen.map(QPointF(text.x, text.y));
  painter.drawPoints(dots);
  for (const ReportRegion& region : report.regions) {
    if (region.outcome != RegionOutcome::kSeveralTexts) continue;
    for (std::size_t k = 0; k < region.textsInside.size(); ++k) {
      const ChibanText& text = report.texts[region.textsInside[k]];
      const QPointF at = toScreen.map(QPointF(text.x, text.y));
      if (k == 0) {
        painter.setPen(QPen(Qt::black, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, 6, 6);
      } else {
        painter.setPen(QPen(QColor(120, 80, 0), 1.5));
        painter.drawLine(at + QPointF(-5, -5), at + QPointF(5, 5));
        painter.drawLine(at + QPointF(-5, 5), at + QPointF(5, -5));
      }
    }
  }
  // Texts in no region: a magenta cross and their string.
  QFont font = painter.font();
  font.setPointSizeF(8);
  painter.setFont(font);
  for (std::size_t i : report.strayTexts) {
    const ChibanText& text = report.texts[i];
    const QPointF at = toScreen.map(QPointF(text.x, text.y));
    painter.setPen(QPen(StrayTextColour(), 2));
    painter.drawLine(at + QPointF(-6, -6), at + QPointF(6, 6));
    painter.drawLine(at + QPointF(-6, 6), at + QPointF(6, -6));
    painter.drawText(at + QPointF(7, -4), QString::fromStdString(text.text));
  }
  // The lot numbers, when few enough stand in the panel to be read.
  auto labels = LabelsIn(
      report.regions, [](const ReportRegion& r) { return QPointF(r.label.x, r.label.y); }, toScreen,
      QRectF(rect()));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::black);
  for (const auto& [region, at] : labels) {
    const QString label = region->lotNumber.empty() ? QStringLiteral("(なし)")
                                                    : QString::fromStdString(region->lotNumber);
    painter.drawText(at + QPointF(4, -4), label);
  }
}

void MapPreview::DrawLegend(QPainter& painter) const {
  if (!report_) return;
  const std::pair<QColor, QString> entries[] = {
      {OutcomeColour(RegionOutcome::kNumbered), QStringLiteral("地番あり")},
      {OutcomeColour(RegionOutcome::kNoLotNumber), QStringLiteral("地番なし")},
      {OutcomeColour(RegionOutcome::kSeveralTexts), QStringLiteral("複数の文字(○が採用)")},
      {StrayTextColour(), QStringLiteral("どの領域にもない文字")},
  };
  QFont font = painter.font();
  font.setPointSizeF(8);
  font.setBold(false);
  painter.setFont(font);
  const int line = painter.fontMetrics().height() + 2;
  int widest = 0;
  for (const auto& entry : entries) {
    widest = std::max(widest, painter.fontMetrics().horizontalAdvance(entry.second));
  }
  const QRect box(6, height() - 6 - line * 4 - 8, widest + 30, line * 4 + 8);
  painter.setPen(QColor(160, 160, 160));
  painter.setBrush(QColor(255, 255, 255, 220));
  painter.drawRect(box);
  for (int i = 0; i < 4; ++i) {
    const QRect swatch(box.left() + 6, box.top() + 5 + i * line, 12, line - 4);
    painter.setPen(Qt::NoPen);
    painter.fillRect(swatch, entries[i].first);
    painter.setPen(Qt::black);
    painter.drawText(swatch.right() + 6, swatch.bottom() - 1, entries[i].second);
  }
}

void MapPreview::resizeEvent(QResizeEvent*) {
  if (scale_ == 1 && !HasDrawing() && !HasRegions() && !HasReport()) return;
  FitAll();
}

void MapPreview::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) return;
  const QPointF pointer = event->position();
  const QPointF world = ToWorld(pointer);
  scale_ *= std::pow(1.25, steps);
  // The drawing point under the pointer stays under it.
  centre_ = QPointF(world.x() - (pointer.x() - width() / 2.0) / scale_,
                    world.y() + (pointer.y() - height() / 2.0) / scale_);
  Invalidate();
  event->accept();
}

void MapPreview::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  panning_ = true;
  panStart_ = event->pos();
  panStartCentre_ = centre_;
  setCursor(Qt::ClosedHandCursor);
}

void MapPreview::mouseMoveEvent(QMouseEvent* event) {
  if (!panning_) return;
  const QPoint moved = event->pos() - panStart_;
  centre_ =
      QPointF(panStartCentre_.x() - moved.x() / scale_, panStartCentre_.y() + moved.y() / scale_);
  update();
}

void MapPreview::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !panning_) return;
  panning_ = false;
  setCursor(Qt::OpenHandCursor);
  if (centre_ != cacheCentre_) Invalidate();
}

}  // namespace parquill::ui
