#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace parquill {

// One lot-number text of the drawing and the point it stands at.
struct ChibanText {
  std::string text;
  double x = 0;
  double y = 0;
  friend bool operator==(const ChibanText&, const ChibanText&) = default;
};

// Finds, for one region after the other, the lot-number texts (in drawing
// order) that InPolygon puts inside the region or on its boundary.
//
// The texts are sorted into a grid of cells once; a region then tests only
// the texts of the cells its bounding box covers, in drawing order.
class ChibanTextIndex {
 public:
  explicit ChibanTextIndex(const std::vector<ChibanText>& texts);

  // The first text inside the ring of the n points x[0..n-1], y[0..n-1] or
  // on its boundary; nullptr when none.
  const ChibanText* FirstInside(std::int16_t n, const double* x, const double* y);
  // Every such text, by its index in drawing order.
  std::vector<std::size_t> AllInside(std::int16_t n, const double* x, const double* y);

 private:
  struct Box {
    double minX, minY, maxX, maxY;
  };

  // The candidates_ a ring's box holds, ascending.
  void GatherCandidates(std::int16_t n, const double* x, const double* y);
  void BuildGrid();
  std::size_t ColumnOf(double x) const;
  std::size_t RowOf(double y) const;

  const std::vector<ChibanText>& texts_;
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
