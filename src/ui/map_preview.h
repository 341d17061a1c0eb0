#pragma once

#include <QPixmap>
#include <QPointF>
#include <QTransform>
#include <QWidget>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "ui/lot_choice.h"
#include "ui/map_labels.h"
#include "ui/map_scene.h"

namespace parquill::ui {

// The map of the drawing beside the window's controls: the drawing's
// polylines coloured by layer and its texts as dots, then the regions as the
// MIF file holds them, then each region filled by how its lot number was
// found. Drag to pan, turn the wheel to zoom around the pointer, click a lot
// to see its lot number, area, vertices and region number. From the keyboard
// (Tab brings the focus, drawn as a frame): the arrows pan, + and − zoom
// about the middle, Home fits. A band along the
// bottom, outside the drawing, holds the legend, the pointer's X (north) and
// Y (east), the scale and the name of the coordinate zone.
//
// Once lots can be chosen, a click on one tells LotClicked with the keys held,
// and a drag with Shift held draws a rectangle and tells RectangleDrawn; the
// chosen lots are drawn filled in orange and outlined in red.
//
// The picture is drawn from prepared paths into a cached pixmap; while the
// view is dragged the cached picture is shifted, and drawn anew at release.
class MapPreview : public QWidget {
  Q_OBJECT

 public:
  explicit MapPreview(QWidget* parent = nullptr);

  // Each of these replaces what the map shows at that stage and fits the view;
  // a drawing that comes after the run's regions or report goes under them.
  void ShowDrawing(std::shared_ptr<const PreparedDrawing> drawing);
  void ShowRegions(std::shared_ptr<const PreparedRegions> regions);
  // Without `legend` the band names no outcomes (lots that were not attached).
  void ShowReport(std::shared_ptr<const PreparedReport> report, bool legend = true);
  // The lots "面生成" would build from the drawing's lines, over the drawing
  // (none when null); the view stays. Dropped by any of the above, and
  // never drawn over regions or a report.
  void ShowLotsToBuild(std::shared_ptr<const PreparedRegions> lots);
  void Clear();
  // What the empty map says.
  void SetPlaceholder(const QString& text);
  // The zone named beside the scale ("9系", "指定なし").
  void SetZoneName(const QString& name);
  // The length of one drawing unit in metres (0.001 for a drawing in
  // millimetres): for the scale, the pointer's coordinates and the areas.
  void SetMetresPerUnit(double metres);
  // Centres the map on an open polyline's first vertex (x, y): the polyline
  // is drawn dashed when the drawing holds it, its first vertex marked.
  void ShowOpenPolyline(double x, double y);
  // The open polyline drawn dashed, when the drawing holds the one chosen.
  const PreviewPolyline* ChosenOpenPolyline() const;

  // The layers drawn emphasised (all of them when `allLayers`); none when empty.
  void SetEmphasisedLayers(std::set<std::string> layers, bool allLayers);

  // Fits everything shown into the panel.
  void FitAll();
  // Puts the drawing point (x, y) in the middle of the panel and marks it.
  void CenterOn(double x, double y);

  // Chooses the lot under the panel point `at`, as a click there does; none
  // when no lot lies there.
  void ChooseLotAt(QPointF at);
  // A click at `at` with `keys` held: the lot chosen, and LotClicked told.
  void ClickAt(QPointF at, Qt::KeyboardModifiers keys);
  // The report regions drawn as chosen (indexes into the report's regions).
  void SetSelectedRegions(std::vector<std::size_t> regions);
  const std::vector<std::size_t>& SelectedRegions() const { return selected_; }
  // The report regions the drawing rectangle `box` touches.
  std::vector<std::size_t> RegionsTouching(const QRectF& box) const;
  // Fits the report regions into the panel.
  void ZoomToRegions(const std::vector<std::size_t>& regions);
  const std::optional<LotFacts>& ChosenLot() const { return chosenLot_; }
  // The pointer's place in the band: "X 15730.500  Y -28410.250" (metres);
  // empty while the pointer is outside the drawing.
  QString PointerText() const;

  // Where a drawing point stands in the panel.
  QPointF ToScreen(QPointF world) const;
  QPointF ToWorld(QPointF screen) const;
  // The part of the panel the drawing is drawn in: all but the bottom band.
  QRectF DrawingArea() const;
  // The lot numbers written at the current zoom, in panel coordinates.
  std::vector<PlacedLabel> ChibanLabels() const;
  const QString& Placeholder() const { return placeholder_; }
  double scale() const { return scale_; }
  // The rectangle a Shift+drag draws, in panel coordinates; empty when none.
  QRectF Band() const { return band_; }
  bool HasDrawing() const { return drawing_ != nullptr; }
  bool HasRegions() const { return regions_ != nullptr; }
  bool HasReport() const { return report_ != nullptr; }
  // The number of lots to build shown; 0 when none are.
  std::size_t LotsToBuild() const { return lotsToBuild_ ? lotsToBuild_->count : 0; }

 signals:
  // The report region clicked (-1 for none) and the keys held.
  void LotClicked(int region, Qt::KeyboardModifiers keys);
  // The drawing rectangle a Shift+drag drew and the keys held at its start.
  void RectangleDrawn(QRectF box, Qt::KeyboardModifiers keys);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QTransform WorldToScreen(QPointF centre) const;
  QRectF Extent() const;
  void Invalidate();
  void RenderPicture(QPainter& painter) const;
  void DrawDrawing(QPainter& painter, const QTransform& toScreen) const;
  void DrawLineWork(QPainter& painter, const QTransform& toScreen) const;
  void DrawRegions(QPainter& painter, const QTransform& toScreen, const PreparedRegions& regions,
                   const QColor& fill, const QColor& line) const;
  void DrawReport(QPainter& painter, const QTransform& toScreen) const;
  void DrawOpenPolyline(QPainter& painter, const QTransform& toScreen) const;
  void DrawBand(QPainter& painter) const;
  void DrawChosenLot(QPainter& painter) const;
  void DrawSelection(QPainter& painter, const QTransform& toScreen) const;
  // Zooms by `factor` keeping the panel point `fixed` where it is.
  void ZoomAbout(QPointF fixed, double factor);
  int BandHeight() const;
  // True when the pointer's place needs a row of its own beside the scale.
  bool PointerOnItsOwnRow(const QFontMetrics& metrics) const;
  bool Empty() const { return !drawing_ && !regions_ && !report_; }

  std::shared_ptr<const PreparedDrawing> drawing_;
  std::shared_ptr<const PreparedRegions> regions_;
  std::shared_ptr<const PreparedReport> report_;
  std::shared_ptr<const PreparedRegions> lotsToBuild_;
  bool legend_ = true;
  std::set<std::string> emphasised_;
  bool allEmphasised_ = false;

  double scale_ = 1;  // pixels per drawing unit
  QPointF centre_;    // the drawing point in the middle of the panel
  std::optional<QPointF> marker_;
  std::optional<QPointF> openPolyline_;  // its first vertex
  QString placeholder_;
  QString zoneName_;
  double metresPerUnit_ = 1;
  std::optional<QPointF> pointer_;  // in drawing units
  std::optional<LotFacts> chosenLot_;
  std::vector<PlanePoint> chosenRing_;

  QPixmap cache_;
  QPointF cacheCentre_;
  double cacheScale_ = 0;
  bool cacheValid_ = false;

  std::vector<std::size_t> selected_;
  std::optional<QPointF> bandStart_;  // a Shift+drag's start, in the panel
  QRectF band_;
  Qt::KeyboardModifiers bandKeys_;

  bool panning_ = false;
  QPoint panStart_;
  QPointF panStartCentre_;
};

}  // namespace parquill::ui
