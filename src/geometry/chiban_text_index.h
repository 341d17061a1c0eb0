#pragma once

#include <cstdint>
#include <vector>

#include "dxf/chiban_text_reader.h"
#include "geometry/search_strategy.h"

namespace parquill {

// Finds, for one region after the other, the first lot-number text (in
// drawing order) that InPolygon puts inside the region or on its boundary.
//
// The indexed search sorts the texts into a grid of cells once; a region then
// tests only the texts of the cells its bounding box covers, in drawing order.
// The linear strategy tests every text from the first, and answers the same.
class ChibanTextIndex {
 public:
  ChibanTextIndex(const std::vector<ChibanText>& texts, SearchStrategy search);

  // The first text inside the ring of the n points x[0..n-1], y[0..n-1] or
  // on its boundary; nullptr when none.
  const ChibanText* FirstInside(std::int16_t n, const double* x, const double* y);

 private:
  struct Box {
    double minX, minY, maxX, maxY;
  };

  const ChibanText* FirstInsideLinear(std::int16_t n, const double* x, const double* y) const;
  void BuildGrid();
  std::size_t ColumnOf(double x) const;
  std::size_t RowOf(double y) const;

  const std::vector<ChibanText>& texts_;
  SearchStrategy search_;
  // The grid: cell (column, row) holds cellTexts_[cellStart_[c] .. cellStart_[c + 1]),
  // c = row * columns_ + column, text numbers ascending.
  Box area_{0, 0, 0, 0};
  std::size_t columns_ = 0;
  std::size_t rows_ = 0;
  double cellWidth_ = 1;
  double cellHeight_ = 1;
  std::vector<std::size_t> cellStart_;
  std::vector<std::size_t> cellTexts_;
  std::vector<std::size_t> outsideGrid_;  // texts too far out (or not numbers): always tested
  std::vector<std::size_t> candidates_;   // reused from region to region
};

}  // namespace parquill
