#include "ui/map_labels.h"

#include <algorithm>

namespace parquill::ui {
namespace {

// A box moved the least that puts it inside `area` (its top-left kept inside
// when it is larger).
QRectF MovedInside(QRectF box, const QRectF& area) {
  if (box.right() > area.right()) box.moveRight(area.right());
  if (box.bottom() > area.bottom()) box.moveBottom(area.bottom());
  if (box.left() < area.left()) box.moveLeft(area.left());
  if (box.top() < area.top()) box.moveTop(area.top());
  return box;
}

}  // namespace

std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelWish>& wishes,
                                     const QFontMetricsF& metrics, const QRectF& area,
                                     const std::vector<QRectF>& taken) {
  constexpr qreal kSpacing = 2;  // pixels kept free around each label
  std::vector<PlacedLabel> placed;
  for (const LabelWish& wish : wishes) {
    if (!area.contains(wish.at)) continue;
    const QSizeF size(metrics.horizontalAdvance(wish.text) + 2, metrics.height());
    const QRectF box = MovedInside(
        QRectF(wish.at + wish.offset - QPointF(size.width() / 2, size.height() / 2), size), area);
    if (!wish.room.isEmpty() && (!wish.room.contains(box) || wish.keepOff.intersects(box))) {
      continue;
    }
    const QRectF kept = box.adjusted(-kSpacing, -kSpacing, kSpacing, kSpacing);
    const bool covers = std::any_of(taken.begin(), taken.end(),
                                    [&](const QRectF& other) { return other.intersects(kept); }) ||
                        std::any_of(placed.begin(), placed.end(), [&](const PlacedLabel& other) {
                          return other.box.intersects(kept);
                        });
    if (!covers) placed.push_back({wish.text, box});
  }
  return placed;
}

}  // namespace parquill::ui
