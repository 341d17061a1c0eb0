#include "geometry/chiban_text_index.h"

#include <algorithm>
#include <cmath>

#include "geometry/point_in_polygon.h"

namespace parquill {

ChibanTextIndex::ChibanTextIndex(const std::vector<ChibanText>& texts) : texts_(texts) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    (std::isfinite(texts[i].x) && std::isfinite(texts[i].y) ? byX_ : notNumbers_).push_back(i);
  }
  std::stable_sort(byX_.begin(), byX_.end(),
                   [&](std::size_t a, std::size_t b) { return texts[a].x < texts[b].x; });
}

std::vector<std::size_t> ChibanTextIndex::Inside(std::int16_t n, const double* x, const double* y,
                                                 bool firstOnly) {
  std::vector<std::size_t> inside;
  if (n <= 0) return inside;  // InPolygon puts every point outside
  // A point inside the ring or on it lies in the ring's box, widened by what
  // rounding may add to InPolygon's crossing points.
  double minX = x[0], maxX = x[0], minY = y[0], maxY = y[0];
  for (int i = 1; i < n; ++i) {
    minX = std::fmin(minX, x[i]);
    maxX = std::fmax(maxX, x[i]);
    minY = std::fmin(minY, y[i]);
    maxY = std::fmax(maxY, y[i]);
  }
  const double marginX = (std::fabs(minX) + std::fabs(maxX)) * 1e-9 + 1e-12;
  const double marginY = (std::fabs(minY) + std::fabs(maxY)) * 1e-9 + 1e-12;
  candidates_ = notNumbers_;
  if (!std::isfinite(minX + maxX + minY + maxY)) {
    candidates_.insert(candidates_.end(), byX_.begin(), byX_.end());  // a ring of no numbers
  } else {
    auto it = std::lower_bound(byX_.begin(), byX_.end(), minX - marginX,
                               [&](std::size_t i, double v) { return texts_[i].x < v; });
    for (; it != byX_.end() && texts_[*it].x <= maxX + marginX; ++it) {
      const double ty = texts_[*it].y;
      if (ty >= minY - marginY && ty <= maxY + marginY) candidates_.push_back(*it);
    }
  }
  std::sort(candidates_.begin(), candidates_.end());
  for (std::size_t i : candidates_) {
    if (InPolygon(n, x, y, texts_[i].x, texts_[i].y) > 0) continue;
    inside.push_back(i);
    if (firstOnly) break;
  }
  return inside;
}

const ChibanText* ChibanTextIndex::FirstInside(std::int16_t n, const double* x, const double* y) {
  const std::vector<std::size_t> first = Inside(n, x, y, true);
  return first.empty() ? nullptr : &texts_[first.front()];
}

std::vector<std::size_t> ChibanTextIndex::AllInside(std::int16_t n, const double* x,
                                                    const double* y) {
  return Inside(n, x, y, false);
}

}  // namespace parquill
