#include "geometry/chiban_text_index.h"

#include <algorithm>
#include <cmath>

#include "geometry/point_in_polygon.h"

namespace parquill {
namespace {

// Texts and rings this far from the origin (or not numbers) bypass the grid.
constexpr double kGriddedLimit = 1e12;

bool Gridded(double x, double y) {
  return std::fabs(x) <= kGriddedLimit && std::fabs(y) <= kGriddedLimit;  // false for NaN
}

// How far InPolygon's crossing points may stray from the ring's box through
// rounding: far less than this share of the coordinates' magnitude.
double RoundingMargin(double low, double high) {
  return (std::fabs(low) + std::fabs(high)) * 1e-9 + 1e-12;
}

// Cells of the given side along a length, at least 1 and at most `most`.
std::size_t CellsAlong(double length, double cellSide, std::size_t most) {
  if (!(length > 0) || !(cellSide > 0)) return 1;
  double cells = std::floor(length / cellSide) + 1;
  if (cells >= static_cast<double>(most)) return most;
  return static_cast<std::size_t>(cells);
}

}  // namespace

ChibanTextIndex::ChibanTextIndex(const std::vector<ChibanText>& texts) : texts_(texts) {
  BuildGrid();
}

void ChibanTextIndex::BuildGrid() {
  std::size_t gridded = 0;
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    const ChibanText& t = texts_[i];
    if (!Gridded(t.x, t.y)) {
      outsideGrid_.push_back(i);
      continue;
    }
    if (gridded++ == 0) {
      area_ = {t.x, t.y, t.x, t.y};
    } else {
      area_ = {std::min(area_.minX, t.x), std::min(area_.minY, t.y), std::max(area_.maxX, t.x),
               std::max(area_.maxY, t.y)};
    }
  }

  // About one text per cell (never more than two cells per text), the cells
  // as square as the area allows.
  const double width = area_.maxX - area_.minX;
  const double height = area_.maxY - area_.minY;
  const std::size_t most = std::max<std::size_t>(gridded, 1);
  const double n = static_cast<double>(most);
  double side =
      width > 0 && height > 0 ? std::sqrt(width * height / n) : std::max(width, height) / n;
  columns_ = CellsAlong(width, side, most);
  rows_ = CellsAlong(height, side, std::max<std::size_t>(2 * most / columns_, 1));
  cellWidth_ = width > 0 ? width / static_cast<double>(columns_) : 1;
  cellHeight_ = height > 0 ? height / static_cast<double>(rows_) : 1;

  // Counting sort into the cells, which keeps every cell in drawing order.
  cellStart_.assign(columns_ * rows_ + 1, 0);
  for (const ChibanText& t : texts_) {
    if (Gridded(t.x, t.y)) ++cellStart_[RowOf(t.y) * columns_ + ColumnOf(t.x) + 1];
  }
  for (std::size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  cellTexts_.resize(gridded);
  std::vector<std::size_t> fill(cellStart_.begin(), cellStart_.end() - 1);
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    const ChibanText& t = texts_[i];
    if (Gridded(t.x, t.y)) cellTexts_[fill[RowOf(t.y) * columns_ + ColumnOf(t.x)]++] = i;
  }
  candidates_.reserve(64);
}

// Never decreasing in x, so a text between two values lies between their columns.
std::size_t ChibanTextIndex::ColumnOf(double x) const {
  double v = (x - area_.minX) / cellWidth_;
  if (!(v > 0)) return 0;
  if (v >= static_cast<double>(columns_)) return columns_ - 1;
  return static_cast<std::size_t>(v);
}

std::size_t ChibanTextIndex::RowOf(double y) const {
  double v = (y - area_.minY) / cellHeight_;
  if (!(v > 0)) return 0;
  if (v >= static_cast<double>(rows_)) return rows_ - 1;
  return static_cast<std::size_t>(v);
}

void ChibanTextIndex::GatherCandidates(std::int16_t n, const double* x, const double* y) {
  candidates_.clear();
  // A point inside the ring or on it lies in the ring's box: on an edge means
  // within the edge's box, inside means crossing an edge of the ring on the
  // point's right at the point's height. Only the crossing's X is computed,
  // so the box is widened by what rounding may add to it.
  Box box{x[0], y[0], x[0], y[0]};
  for (int i = 0; i < n; ++i) {
    if (!Gridded(x[i], y[i])) {
      // A ring too far out for the grid: every text is a candidate.
      for (std::size_t k = 0; k < texts_.size(); ++k) candidates_.push_back(k);
      return;
    }
    box = {std::min(box.minX, x[i]), std::min(box.minY, y[i]), std::max(box.maxX, x[i]),
           std::max(box.maxY, y[i])};
  }
  const double marginX = RoundingMargin(box.minX, box.maxX);
  const double marginY = RoundingMargin(box.minY, box.maxY);
  box = {box.minX - marginX, box.minY - marginY, box.maxX + marginX, box.maxY + marginY};

  const std::size_t c0 = ColumnOf(box.minX), c1 = ColumnOf(box.maxX);
  const std::size_t r0 = RowOf(box.minY), r1 = RowOf(box.maxY);
  for (std::size_t r = r0; r <= r1; ++r) {
    for (std::size_t c = c0; c <= c1; ++c) {
      const std::size_t cell = r * columns_ + c;
      for (std::size_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
        const ChibanText& t = texts_[cellTexts_[k]];
        if (t.x >= box.minX && t.x <= box.maxX && t.y >= box.minY && t.y <= box.maxY) {
          candidates_.push_back(cellTexts_[k]);
        }
      }
    }
  }
  candidates_.insert(candidates_.end(), outsideGrid_.begin(), outsideGrid_.end());
  std::sort(candidates_.begin(), candidates_.end());
}

const ChibanText* ChibanTextIndex::FirstInside(std::int16_t n, const double* x, const double* y) {
  if (n <= 0) return nullptr;  // InPolygon puts every point outside
  GatherCandidates(n, x, y);
  for (std::size_t i : candidates_) {
    const ChibanText& text = texts_[i];
    if (InPolygon(n, x, y, text.x, text.y) <= 0) return &text;
  }
  return nullptr;
}

std::vector<std::size_t> ChibanTextIndex::AllInside(std::int16_t n, const double* x,
                                                    const double* y) {
  std::vector<std::size_t> inside;
  if (n <= 0) return inside;
  GatherCandidates(n, x, y);
  for (std::size_t i : candidates_) {
    if (InPolygon(n, x, y, texts_[i].x, texts_[i].y) <= 0) inside.push_back(i);
  }
  return inside;
}

}  // namespace parquill
