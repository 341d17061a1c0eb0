#include "ui/map_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "geometry/ring_area.h"

namespace parquill::ui {
namespace {

const QColor kBackground = Qt::white;
const QColor kTextDot(60, 60, 60);
const QColor kDimmedLine(200, 200, 200);
const QColor kRegionFill(120, 160, 230, 90);
const QColor kRegionLine(40, 70, 160);
const QColor kOutcomeLine(90, 90, 90);
const QColor kLineWork(150, 150, 150);
const QColor kLotToBuildFill(110, 190, 120, 80);
const QColor kLotToBuildLine(30, 130, 60);

// Labels are looked at only when at most this many stand in the panel.
constexpr int kMostLabels = 2000;
constexpr int kBandPadding = 4;  // pixels around the bottom band's rows
constexpr int kSwatchWidth = 12;
constexpr int kLegendGap = 12;  // pixels between two legend entries
constexpr double kLabelPointSize = 8;
// The share of the panel a fitted drawing takes.
constexpr double kFitShare = 0.92;
// One wheel step or one + or − zooms by this factor.
constexpr double kZoomStep = 1.25;
// One arrow key pans by this share of the panel.
constexpr double kPanShare = 0.1;
// The widest pointer place, for the band's room.
const QString kWidestPointer = QStringLiteral("X -0000000.000  Y -0000000.000");
const QColor kChosenLot(0, 90, 220);
// The lots chosen for a site: unmistakable over every outcome colour.
const QColor kSelectedFill(255, 140, 0, 170);
const QColor kSelectedLine(220, 0, 0);
// The margin around lots zoomed to, a share of their extent.
constexpr double kZoomMargin = 0.25;

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

QFont LabelFont(QFont font, bool bold) {
  font.setPointSizeF(kLabelPointSize);
  font.setBold(bold);
  return font;
}

// A label on a light ground, so that the lines under it do not cross it.
void DrawLabel(QPainter& painter, const PlacedLabel& label, const QColor& colour) {
  painter.fillRect(label.box, QColor(255, 255, 255, 190));
  painter.setPen(colour);
  painter.drawText(label.box, Qt::AlignCenter, label.text);
}

// The legend's entries once the report is shown.
std::vector<std::pair<QColor, QString>> LegendEntries() {
  return {
      {OutcomeColour(RegionOutcome::kNumbered), QStringLiteral("地番あり")},
      {OutcomeColour(RegionOutcome::kNoChiban), QStringLiteral("地番なし")},
      {OutcomeColour(RegionOutcome::kSeveralTexts), QStringLiteral("複数の文字(○が採用)")},
      {StrayTextColour(), QStringLiteral("どの領域にもない文字")},
  };
}

// The legend's entries flowed into rows of at most `width` pixels: the first
// entry of each row.
std::vector<std::size_t> LegendRowStarts(const QFontMetrics& metrics, int width) {
  std::vector<std::size_t> starts;
  int x = width;  // a new row for the first entry
  const auto entries = LegendEntries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int entry = kSwatchWidth + 4 + metrics.horizontalAdvance(entries[i].second);
    if (x + entry > width) {
      starts.push_back(i);
      x = kBandPadding;
    }
    x += entry + kLegendGap;
  }
  return starts;
}

// A round length of drawing units (1, 2 or 5 times a power of ten) that
// takes at most `most` pixels at `scale` pixels per unit.
double ScaleLength(double scale, double most) {
  const double units = most / scale;
  const double power = std::pow(10.0, std::floor(std::log10(units)));
  for (double factor : {5.0, 2.0, 1.0}) {
    if (factor * power <= units) return factor * power;
  }
  return power;
}

}  // namespace

MapPreview::MapPreview(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);  // the pointer's place in the band
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::OpenHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  setToolTip(
      QStringLiteral("ドラッグか矢印キーで移動、ホイールか＋・－で拡大・縮小、"
                     "Home で全体表示、クリックで筆の地番と地積。地番を付けた筆は"
                     "クリックで選択、Ctrl+クリックで追加・解除、Shift+ドラッグで範囲選択"));
  placeholder_ = QStringLiteral("DXF ファイルを選ぶと、ここに図面を表示します");
  zoneName_ = QStringLiteral("指定なし");
}

void MapPreview::SetPlaceholder(const QString& text) {
  placeholder_ = text;
  Invalidate();
}

void MapPreview::SetZoneName(const QString& name) {
  zoneName_ = name;
  update();
}

void MapPreview::SetMetresPerUnit(double metres) {
  if (metres <= 0 || metres == metresPerUnit_) return;
  metresPerUnit_ = metres;
  chosenLot_.reset();
  chosenRing_.clear();
  update();
}

void MapPreview::ShowOpenPolyline(double x, double y) {
  openPolyline_ = QPointF(x, y);
  CenterOn(x, y);
}

void MapPreview::ShowDrawing(std::shared_ptr<const PreparedDrawing> drawing) {
  drawing_ = std::move(drawing);
  // A drawing read more slowly than the run on it goes under the run's
  // regions or report, the view and the choice kept.
  if (regions_ || report_) {
    Invalidate();
    return;
  }
  selected_.clear();
  regions_.reset();
  report_.reset();
  lotsToBuild_.reset();
  chosenLot_.reset();
  chosenRing_.clear();
  marker_.reset();
  openPolyline_.reset();
  FitAll();
}

void MapPreview::ShowRegions(std::shared_ptr<const PreparedRegions> regions) {
  regions_ = std::move(regions);
  selected_.clear();
  report_.reset();
  lotsToBuild_.reset();
  chosenLot_.reset();
  chosenRing_.clear();
  marker_.reset();
  openPolyline_.reset();
  FitAll();
}

void MapPreview::ShowReport(std::shared_ptr<const PreparedReport> report, bool legend) {
  report_ = std::move(report);
  selected_.clear();
  legend_ = legend;
  lotsToBuild_.reset();
  chosenLot_.reset();
  chosenRing_.clear();
  marker_.reset();
  openPolyline_.reset();
  FitAll();
}

void MapPreview::ShowLotsToBuild(std::shared_ptr<const PreparedRegions> lots) {
  if (regions_ || report_) lots.reset();  // read too late: the lots are built
  if (lots == lotsToBuild_) return;
  lotsToBuild_ = std::move(lots);
  chosenLot_.reset();
  chosenRing_.clear();
  Invalidate();
}

void MapPreview::Clear() {
  selected_.clear();
  lotsToBuild_.reset();
  drawing_.reset();
  regions_.reset();
  report_.reset();
  emphasised_.clear();
  allEmphasised_ = false;
  chosenLot_.reset();
  chosenRing_.clear();
  marker_.reset();
  openPolyline_.reset();
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
    const QRectF area = DrawingArea();
    scale_ = kFitShare * std::min(area.width() / w, area.height() / h);
  }
  Invalidate();
}

void MapPreview::CenterOn(double x, double y) {
  centre_ = QPointF(x, y);
  marker_ = centre_;
  Invalidate();
}

int MapPreview::BandHeight() const {
  if (Empty()) return 0;
  const QFontMetrics metrics(LabelFont(font(), false));
  const int line = metrics.height() + 2;
  const int legendRows =
      report_ && legend_
          ? static_cast<int>(LegendRowStarts(metrics, width() - 2 * kBandPadding).size())
          : 0;
  const int pointerRows = PointerOnItsOwnRow(metrics) ? 1 : 0;
  return (legendRows + pointerRows + 1) * line + 2 * kBandPadding;
}

bool MapPreview::PointerOnItsOwnRow(const QFontMetrics& metrics) const {
  const QString zone = QStringLiteral("座標系: %1").arg(zoneName_);
  const int scaleRow = metrics.horizontalAdvance(zone) + kLegendGap +
                       metrics.horizontalAdvance(QStringLiteral("5000 m")) + 4 + width() / 4;
  return metrics.horizontalAdvance(kWidestPointer) + kLegendGap + scaleRow + 2 * kBandPadding >
         width();
}

QRectF MapPreview::DrawingArea() const {
  return QRectF(0, 0, width(), std::max(0, height() - BandHeight()));
}

QTransform MapPreview::WorldToScreen(QPointF centre) const {
  const QPointF middle = DrawingArea().center();
  return QTransform(scale_, 0, 0, -scale_, middle.x() - centre.x() * scale_,
                    middle.y() + centre.y() * scale_);
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
  painter.save();
  painter.setClipRect(DrawingArea());
  painter.drawPixmap(shift, cache_);
  if (marker_) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::blue, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ToScreen(*marker_), 12, 12);
  }
  DrawChosenLot(painter);
  if (!band_.isEmpty()) {
    painter.setPen(QPen(kSelectedLine, 1, Qt::DashLine));
    painter.setBrush(QColor(255, 140, 0, 40));
    painter.drawRect(band_);
  }
  painter.restore();
  DrawBand(painter);
  painter.setBrush(Qt::NoBrush);
  if (hasFocus()) {
    // The keyboard's place: a frame in the highlight colour, two pixels wide.
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  } else {
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void MapPreview::RenderPicture(QPainter& painter) const {
  painter.fillRect(rect(), kBackground);
  if (Empty()) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                     placeholder_);
    return;
  }
  painter.setClipRect(DrawingArea());
  const QTransform toScreen = WorldToScreen(centre_);
  // The line work under the lots, whatever the stage.
  DrawLineWork(painter, toScreen);
  if (report_) {
    DrawReport(painter, toScreen);
  } else {
    if (regions_) {
      DrawRegions(painter, toScreen, *regions_, kRegionFill, kRegionLine);
    } else if (lotsToBuild_) {
      DrawRegions(painter, toScreen, *lotsToBuild_, kLotToBuildFill, kLotToBuildLine);
    }
    DrawDrawing(painter, toScreen);
  }
  DrawOpenPolyline(painter, toScreen);
}

const PreviewPolyline* MapPreview::ChosenOpenPolyline() const {
  if (!openPolyline_ || !drawing_) return nullptr;
  return FindOpenPolyline(*drawing_, openPolyline_->x(), openPolyline_->y());
}

void MapPreview::DrawOpenPolyline(QPainter& painter, const QTransform& toScreen) const {
  if (!openPolyline_) return;
  const QPointF first = toScreen.map(*openPolyline_);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const PreviewPolyline* polyline = ChosenOpenPolyline();
  if (polyline != nullptr) {
    QPolygonF line;
    for (const PlanePoint& point : polyline->points)
      line << toScreen.map(QPointF(point.x, point.y));
    QPen dashed(QColor(220, 0, 0), 2.5, Qt::DashLine);
    painter.setPen(dashed);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
  }
  // The first vertex, where the ring should have closed.
  painter.setPen(QPen(QColor(220, 0, 0), 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(first - QPointF(5, 5), QSizeF(10, 10)));
  painter.restore();
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

  // Each string right of its dot.
  painter.setFont(LabelFont(font(), false));
  const QFontMetricsF metrics(painter.font());
  std::vector<LabelWish> wishes;
  for (const auto& [text, at] : LabelsIn(
           drawing_->texts, [](const PreviewText& t) { return QPointF(t.x, t.y); }, toScreen,
           DrawingArea())) {
    const QString string = QString::fromStdString(text->text);
    wishes.push_back(
        {string, at, QPointF(metrics.horizontalAdvance(string) / 2 + 4, -metrics.height() / 2)});
  }
  for (const PlacedLabel& label : PlaceLabels(wishes, metrics, DrawingArea())) {
    DrawLabel(painter, label, kTextDot);
  }
}

void MapPreview::DrawLineWork(QPainter& painter, const QTransform& toScreen) const {
  if (!drawing_ || drawing_->lineWork.empty()) return;
  painter.save();
  painter.setTransform(toScreen);
  painter.setBrush(Qt::NoBrush);
  for (const MapLayer& layer : drawing_->lineWork) {
    // A chosen layer in its own colour, every other thin and grey.
    const bool chosen = allEmphasised_ || emphasised_.count(layer.name) > 0;
    painter.setPen(CosmeticPen(chosen ? layer.colour : kLineWork, chosen ? 1.5 : 0.8));
    painter.drawPath(layer.path);
  }
  painter.restore();
}

void MapPreview::DrawRegions(QPainter& painter, const QTransform& toScreen,
                             const PreparedRegions& regions, const QColor& fill,
                             const QColor& line) const {
  painter.save();
  painter.setTransform(toScreen);
  painter.setPen(CosmeticPen(line, 1.5));
  painter.setBrush(fill);
  painter.drawPath(regions.outlines);
  painter.restore();
}

void MapPreview::DrawReport(QPainter& painter, const QTransform& toScreen) const {
  const ConversionReport& report = report_->report;
  painter.save();
  painter.setTransform(toScreen);
  painter.setPen(CosmeticPen(kOutcomeLine, 1));
  for (std::size_t i : report_->largestFirst) {
    painter.setBrush(OutcomeColour(report.regions[i].outcome));
    painter.drawPath(report_->regions[i]);
  }
  painter.restore();
  DrawSelection(painter, toScreen);

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
  // Texts in no region: a magenta cross.
  painter.setPen(QPen(StrayTextColour(), 2));
  for (std::size_t i : report.strayTexts) {
    const ChibanText& text = report.texts[i];
    const QPointF at = toScreen.map(QPointF(text.x, text.y));
    painter.drawLine(at + QPointF(-6, -6), at + QPointF(6, 6));
    painter.drawLine(at + QPointF(-6, 6), at + QPointF(6, -6));
  }
  // The lot numbers, where they can be read without covering one another;
  // the strings of the stray texts after them, in magenta.
  painter.setFont(LabelFont(font(), true));
  const std::vector<PlacedLabel> chibans = ChibanLabels();
  for (const PlacedLabel& label : chibans) DrawLabel(painter, label, Qt::black);
  std::vector<QRectF> taken;
  for (const PlacedLabel& label : chibans) taken.push_back(label.box);
  std::vector<LabelWish> wishes;
  for (std::size_t i : report.strayTexts) {
    const ChibanText& text = report.texts[i];
    wishes.push_back(
        {QString::fromStdString(text.text), toScreen.map(QPointF(text.x, text.y)), {0, -12}});
  }
  painter.setFont(LabelFont(font(), false));
  for (const PlacedLabel& label :
       PlaceLabels(wishes, QFontMetricsF(painter.font()), DrawingArea(), taken)) {
    DrawLabel(painter, label, StrayTextColour());
  }
}

std::vector<PlacedLabel> MapPreview::ChibanLabels() const {
  if (!report_) return {};
  const QTransform toScreen = WorldToScreen(centre_);
  const QRectF area = DrawingArea();
  const std::vector<ReportRegion>& regions = report_->report.regions;
  // Each number inside its own lot and off the lots inside that, the
  // smallest lots first: a number that fits is never crowded out by one
  // that does not.
  std::vector<LabelWish> wishes;
  for (auto k = report_->largestFirst.rbegin(); k != report_->largestFirst.rend(); ++k) {
    const ReportRegion& region = regions[*k];
    const QPointF at = toScreen.map(QPointF(region.label.x, region.label.y));
    if (!area.contains(at)) continue;
    if (static_cast<int>(wishes.size()) == kMostLabels) return {};
    QPainterPath inside;
    inside.setFillRule(Qt::WindingFill);
    for (std::size_t lot : report_->regionsInside[*k]) {
      inside.addPath(toScreen.map(report_->regions[lot]));
    }
    wishes.push_back(
        {region.chiban.empty() ? QStringLiteral("(なし)") : QString::fromStdString(region.chiban),
         at,
         {},
         toScreen.map(report_->regions[*k]),
         std::move(inside)});
  }
  return PlaceLabels(wishes, QFontMetricsF(LabelFont(font(), true)), area);
}

void MapPreview::DrawBand(QPainter& painter) const {
  const int band = BandHeight();
  if (band == 0) return;
  const QRect area(0, height() - band, width(), band);
  painter.fillRect(area, palette().color(QPalette::Window).lighter(104));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(area.topLeft(), area.topRight());
  painter.setFont(LabelFont(font(), false));
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height() + 2;
  int top = area.top() + kBandPadding;

  if (report_ && legend_) {
    const auto entries = LegendEntries();
    const std::vector<std::size_t> starts = LegendRowStarts(metrics, width() - 2 * kBandPadding);
    for (std::size_t row = 0; row < starts.size(); ++row) {
      const std::size_t end = row + 1 < starts.size() ? starts[row + 1] : entries.size();
      int x = kBandPadding;
      for (std::size_t i = starts[row]; i < end; ++i) {
        painter.fillRect(QRect(x, top + 3, kSwatchWidth, line - 6), entries[i].first);
        painter.setPen(palette().color(QPalette::WindowText));
        const int textWidth = metrics.horizontalAdvance(entries[i].second);
        painter.drawText(QRect(x + kSwatchWidth + 4, top, textWidth + 1, line),
                         Qt::AlignLeft | Qt::AlignVCenter, entries[i].second);
        x += kSwatchWidth + 4 + textWidth + kLegendGap;
      }
      top += line;
    }
  }

  // The pointer's place on the left, on a row of its own when the scale
  // leaves it no room.
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRect(kBandPadding, top, metrics.horizontalAdvance(kWidestPointer), line),
                   Qt::AlignLeft | Qt::AlignVCenter, PointerText());
  if (PointerOnItsOwnRow(metrics)) top += line;

  // The scale, right-aligned, with the coordinate zone after it.
  const QString zone = QStringLiteral("座標系: %1").arg(zoneName_);
  const int zoneWidth = metrics.horizontalAdvance(zone);
  const double pixelsPerMetre = scale_ / metresPerUnit_;
  const double length = ScaleLength(pixelsPerMetre, std::max(20.0, width() / 4.0));
  const QString lengthText = QStringLiteral("%1 m").arg(length, 0, 'g', 6);
  const int barWidth = static_cast<int>(std::lround(length * pixelsPerMetre));
  const int lengthWidth = metrics.horizontalAdvance(lengthText);
  int x = width() - kBandPadding - zoneWidth;
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRect(x, top, zoneWidth + 1, line), Qt::AlignLeft | Qt::AlignVCenter, zone);
  x -= kLegendGap + lengthWidth;
  painter.drawText(QRect(x, top, lengthWidth + 1, line), Qt::AlignLeft | Qt::AlignVCenter,
                   lengthText);
  x -= 4 + barWidth;
  const int y = top + line / 2;
  painter.drawLine(x, y, x + barWidth, y);
  painter.drawLine(x, y - 3, x, y + 3);
  painter.drawLine(x + barWidth, y - 3, x + barWidth, y + 3);
}

void MapPreview::resizeEvent(QResizeEvent*) {
  if (scale_ == 1 && !HasDrawing() && !HasRegions() && !HasReport()) return;
  FitAll();
}

void MapPreview::ZoomAbout(QPointF fixed, double factor) {
  const QPointF world = ToWorld(fixed);
  scale_ *= factor;
  centre_ += world - ToWorld(fixed);
  Invalidate();
}

void MapPreview::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) return;
  // The drawing point under the pointer stays under it.
  ZoomAbout(event->position(), std::pow(kZoomStep, steps));
  event->accept();
}

void MapPreview::keyPressEvent(QKeyEvent* event) {
  const QRectF area = DrawingArea();
  const double stepX = area.width() * kPanShare / scale_;
  const double stepY = area.height() * kPanShare / scale_;
  switch (event->key()) {
    // The view moves the way the arrow points: north is up.
    case Qt::Key_Left:
      centre_.rx() -= stepX;
      break;
    case Qt::Key_Right:
      centre_.rx() += stepX;
      break;
    case Qt::Key_Up:
      centre_.ry() += stepY;
      break;
    case Qt::Key_Down:
      centre_.ry() -= stepY;
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // on the + key of a US keyboard
      ZoomAbout(area.center(), kZoomStep);
      return;
    case Qt::Key_Minus:
      ZoomAbout(area.center(), 1 / kZoomStep);
      return;
    case Qt::Key_Home:
      FitAll();
      return;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  Invalidate();
}

void MapPreview::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void MapPreview::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void MapPreview::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (event->modifiers() & Qt::ShiftModifier && report_) {
    bandStart_ = event->position();
    bandKeys_ = event->modifiers();
    band_ = QRectF();
    return;
  }
  panning_ = true;
  panStart_ = event->pos();
  panStartCentre_ = centre_;
  setCursor(Qt::ClosedHandCursor);
}

void MapPreview::mouseMoveEvent(QMouseEvent* event) {
  if (bandStart_) {
    band_ = QRectF(*bandStart_, event->position()).normalized();
    update();
    return;
  }
  if (!panning_) {
    const bool inside = !Empty() && DrawingArea().contains(event->position());
    pointer_ = inside ? std::optional<QPointF>(ToWorld(event->position())) : std::nullopt;
    update(0, static_cast<int>(DrawingArea().height()), width(), BandHeight());
    return;
  }
  const QPoint moved = event->pos() - panStart_;
  centre_ =
      QPointF(panStartCentre_.x() - moved.x() / scale_, panStartCentre_.y() + moved.y() / scale_);
  update();
}

void MapPreview::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && bandStart_) {
    const QRectF drawn = QRectF(*bandStart_, event->position()).normalized();
    const Qt::KeyboardModifiers keys = bandKeys_;
    bandStart_.reset();
    band_ = QRectF();
    update();
    // A Shift+click is a click that adds, as Ctrl+click does.
    if (drawn.width() + drawn.height() < QApplication::startDragDistance()) {
      ClickAt(event->position(), keys);
      return;
    }
    emit RectangleDrawn(QRectF(ToWorld(drawn.topLeft()), ToWorld(drawn.bottomRight())).normalized(),
                        keys);
    return;
  }
  if (event->button() != Qt::LeftButton || !panning_) return;
  panning_ = false;
  setCursor(Qt::OpenHandCursor);
  // A press and release in one place is a click, not a drag.
  if ((event->pos() - panStart_).manhattanLength() < QApplication::startDragDistance()) {
    centre_ = panStartCentre_;
    ClickAt(event->position(), event->modifiers());
  }
  if (centre_ != cacheCentre_) Invalidate();
}

void MapPreview::leaveEvent(QEvent*) {
  pointer_.reset();
  update();
}

QString MapPreview::PointerText() const {
  if (!pointer_) return {};
  // X is the north, Y the east, as surveyors write them.
  return QStringLiteral("X %1  Y %2")
      .arg(pointer_->y() * metresPerUnit_, 0, 'f', 3)
      .arg(pointer_->x() * metresPerUnit_, 0, 'f', 3);
}

void MapPreview::ChooseLotAt(QPointF at) {
  std::vector<const std::vector<PlanePoint>*> rings;
  if (report_) {
    for (const ReportRegion& region : report_->report.regions) rings.push_back(&region.ring);
  } else if (regions_) {
    for (const auto& ring : regions_->rings) rings.push_back(&ring);
  } else if (lotsToBuild_) {
    for (const auto& ring : lotsToBuild_->rings) rings.push_back(&ring);
  }
  const std::optional<std::size_t> found = RingAt(rings, ToWorld(at));
  chosenLot_.reset();
  chosenRing_.clear();
  if (found) {
    LotFacts lot;
    lot.region = static_cast<int>(*found) + 1;
    if (report_) {
      const ReportRegion& region = report_->report.regions[*found];
      lot.region = region.number;
      lot.numbered = true;
      lot.chiban = QString::fromStdString(region.chiban);
    }
    chosenRing_ = *rings[*found];
    lot.squareMetres = RingArea(chosenRing_) * metresPerUnit_ * metresPerUnit_;
    lot.vertices = VertexCount(chosenRing_);
    chosenLot_ = lot;
  }
  update();
}

void MapPreview::ClickAt(QPointF at, Qt::KeyboardModifiers keys) {
  ChooseLotAt(at);
  if (!report_) return;
  std::vector<const std::vector<PlanePoint>*> rings;
  for (const ReportRegion& region : report_->report.regions) rings.push_back(&region.ring);
  const std::optional<std::size_t> found = RingAt(rings, ToWorld(at));
  emit LotClicked(found ? static_cast<int>(*found) : -1, keys);
}

void MapPreview::SetSelectedRegions(std::vector<std::size_t> regions) {
  if (regions == selected_) return;
  selected_ = std::move(regions);
  Invalidate();
}

std::vector<std::size_t> MapPreview::RegionsTouching(const QRectF& box) const {
  std::vector<std::size_t> touched;
  if (!report_) return touched;
  for (std::size_t i = 0; i < report_->regions.size(); ++i) {
    const QPainterPath& region = report_->regions[i];
    if (region.controlPointRect().intersects(box) && region.intersects(box)) touched.push_back(i);
  }
  return touched;
}

void MapPreview::ZoomToRegions(const std::vector<std::size_t>& regions) {
  if (!report_ || regions.empty()) return;
  QRectF extent;
  for (std::size_t i : regions) {
    const QRectF box = report_->regions.at(i).boundingRect();
    extent = extent.isNull() ? box : extent.united(box);
  }
  const double w = std::max(extent.width(), 1e-6) * (1 + 2 * kZoomMargin);
  const double h = std::max(extent.height(), 1e-6) * (1 + 2 * kZoomMargin);
  const QRectF area = DrawingArea();
  centre_ = extent.center();
  scale_ = std::min(area.width() / w, area.height() / h);
  Invalidate();
}

// The chosen lots: filled and outlined over the outcomes, under the numbers.
void MapPreview::DrawSelection(QPainter& painter, const QTransform& toScreen) const {
  if (selected_.empty()) return;
  painter.save();
  painter.setTransform(toScreen);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(CosmeticPen(kSelectedLine, 3));
  painter.setBrush(kSelectedFill);
  for (std::size_t i : selected_) painter.drawPath(report_->regions.at(i));
  painter.restore();
}

// The chosen lot outlined, and what it is in a box at the top left.
void MapPreview::DrawChosenLot(QPainter& painter) const {
  if (!chosenLot_) return;
  QPolygonF outline;
  for (const PlanePoint& point : chosenRing_) outline << ToScreen(QPointF(point.x, point.y));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kChosenLot, 3));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolygon(outline);
  painter.setFont(LabelFont(font(), true));
  const QString text = LotText(*chosenLot_);
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect box(8, 8, metrics.horizontalAdvance(text) + 12, metrics.height() + 8);
  painter.fillRect(box, QColor(255, 255, 255, 230));
  painter.setPen(kChosenLot);
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace parquill::ui
