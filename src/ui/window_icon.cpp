#include "ui/window_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace parquill::ui {

QIcon WindowIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);

  // The lot: an irregular four-sided parcel with its boundary points.
  const QPointF corners[] = {{3, 9}, {19, 3}, {25, 19}, {7, 28}};
  painter.setPen(QPen(QColor(0, 70, 140), 2));
  painter.setBrush(QColor(200, 230, 200));
  painter.drawPolygon(corners, 4);
  painter.setBrush(QColor(200, 0, 0));
  painter.setPen(Qt::NoPen);
  for (const QPointF& corner : corners) painter.drawEllipse(corner, 2, 2);

  // The pen nib, its point on the lot's last side.
  QPainterPath nib;
  nib.moveTo(15, 23);
  nib.lineTo(25, 11);
  nib.lineTo(31, 16);
  nib.lineTo(19, 26);
  nib.closeSubpath();
  painter.setPen(QPen(QColor(40, 40, 40), 1));
  painter.setBrush(QColor(90, 90, 90));
  painter.drawPath(nib);
  painter.setPen(QPen(QColor(230, 230, 230), 1));
  painter.drawLine(QPointF(15.5, 23.5), QPointF(23, 17));
  painter.end();
  return QIcon(pixmap);
}

}  // namespace parquill::ui
