#pragma once

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

namespace parquill::ui {

// A label the map would write: its text, centred on a point of the panel
// (or `offset` from it, e.g. right of a text's dot); with a `room`, only
// where its whole box lies inside it and off `keepOff` (a lot's number
// inside its lot, off the lots inside that).
struct LabelWish {
  QString text;
  QPointF at;
  QPointF offset = {};
  QPainterPath room = {};
  QPainterPath keepOff = {};
};

// A label the map writes, in the box it takes.
struct PlacedLabel {
  QString text;
  QRectF box;
};

// The labels that can be read at the current zoom: in the order wished, each
// moved inside `area` when it would cross its edge, and left out when it
// would cover a label already placed (or a box of `taken`), when its point
// lies outside `area` or when it does not fit in its room.
std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelWish>& wishes,
                                     const QFontMetricsF& metrics, const QRectF& area,
                                     const std::vector<QRectF>& taken = {});

}  // namespace parquill::ui
