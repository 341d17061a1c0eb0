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
// order) that InPolygon puts inside the region or on its boundary. The texts
// are sorted by X once; a region then tests only those within its box.
class ChibanTextIndex {
 public:
  explicit ChibanTextIndex(const std::vector<ChibanText>& texts);

  // The first text inside the ring of the n points x[0..n-1], y[0..n-1] or
  // on its boundary; nullptr when none.
  const ChibanText* FirstInside(std::int16_t n, const double* x, const double* y);
  // Every such text, by its index in drawing order.
  std::vector<std::size_t> AllInside(std::int16_t n, const double* x, const double* y);

 private:
  // The texts inside, ascending; with `firstOnly` the first of them alone.
  std::vector<std::size_t> Inside(std::int16_t n, const double* x, const double* y, bool firstOnly);

  const std::vector<ChibanText>& texts_;
  std::vector<std::size_t> byX_;         // the texts that are numbers, by X
  std::vector<std::size_t> notNumbers_;  // the others: always tested
  std::vector<std::size_t> candidates_;  // reused from region to region
};

}  // namespace parquill
