#pragma once

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "geometry/plane_point.h"

namespace parquill::ui {

// A lot the user clicked on the map: what a surveyor checks first.
struct LotFacts {
  int region = 0;         // 1 for the MIF file's first region
  bool numbered = false;  // lot numbers attached (after "属性付加")
  QString chiban;         // empty when the region got none
  double squareMetres = 0;
  int vertices = 0;
};

// The ring holding the drawing point `at`, the smallest where several do
// (a lot inside another); none when no ring holds it.
std::optional<std::size_t> RingAt(const std::vector<const std::vector<PlanePoint>*>& rings,
                                  QPointF at);

// The corners of a ring, its closing point (equal to the first) not counted.
int VertexCount(const std::vector<PlanePoint>& ring);

// "地番 123-4　地積 438.00 m²　頂点 4　領域 1"; "地番 (なし)" for a region
// without one; without the lot number before it is attached.
QString LotText(const LotFacts& lot);

// An area in square metres as the window writes it: "438.00 m²".
QString SquareMetresText(double squareMetres);

}  // namespace parquill::ui
