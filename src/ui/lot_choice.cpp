#include "ui/lot_choice.h"

#include <QPolygonF>

#include "geometry/ring_area.h"

namespace parquill::ui {

std::optional<std::size_t> RingAt(const std::vector<const std::vector<PlanePoint>*>& rings,
                                  QPointF at) {
  std::optional<std::size_t> found;
  double smallest = 0;
  for (std::size_t i = 0; i < rings.size(); ++i) {
    QPolygonF polygon;
    for (const PlanePoint& point : *rings[i]) polygon << QPointF(point.x, point.y);
    if (!polygon.containsPoint(at, Qt::OddEvenFill)) continue;
    const double area = RingArea(*rings[i]);
    if (!found || area < smallest) {
      found = i;
      smallest = area;
    }
  }
  return found;
}

int VertexCount(const std::vector<PlanePoint>& ring) {
  const bool closed = ring.size() > 1 && ring.front() == ring.back();
  return static_cast<int>(ring.size()) - (closed ? 1 : 0);
}

QString SquareMetresText(double squareMetres) {
  return QStringLiteral("%1 m²").arg(squareMetres, 0, 'f', 2);
}

QString LotText(const LotFacts& lot) {
  QString text;
  if (lot.numbered) {
    text = QStringLiteral("地番 %1　")
               .arg(lot.chiban.isEmpty() ? QStringLiteral("(なし)") : lot.chiban);
  }
  return text + QStringLiteral("地積 %1　頂点 %2　領域 %3")
                    .arg(SquareMetresText(lot.squareMetres))
                    .arg(lot.vertices)
                    .arg(lot.region);
}

}  // namespace parquill::ui
