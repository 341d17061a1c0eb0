// The two searches of a conversion on the capacity map (40 × 50 lots, 3 extra
// vertices on every edge: 14361 boundary points; 2000 lot numbers and 3000
// texts outside the lots, the lot numbers in reversed order): the point table
// and the text index against a plain loop over the points or the texts from
// the first, which is what they must answer. Each benchmark checks once that
// both give the same answers before it times them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/limits.h"
#include "geometry/chiban_text_index.h"
#include "geometry/point_in_polygon.h"
#include "sima/point_table.h"

namespace {

constexpr int kRows = 40;
constexpr int kCols = 50;
constexpr int kEdgeVertices = 3;
constexpr double kSide = 20;
constexpr double kX0 = -28510.25;
constexpr double kY0 = 15630.5;

// The argument of every benchmark below: 1 times the plain loop.
constexpr int kIndexed = 0;
constexpr int kLinear = 1;

struct LotRing {
  std::vector<double> x, y;  // closed: the last point repeats the first
};

// The lots' rings in drawing order, every edge with its extra vertices.
const std::vector<LotRing>& Lots() {
  static const std::vector<LotRing> lots = [] {
    std::vector<LotRing> rings;
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kCols; ++c) {
        const double cx[] = {0, 1, 1, 0, 0}, cy[] = {0, 0, 1, 1, 0};
        LotRing ring;
        for (int k = 0; k < 4; ++k) {
          for (int v = 0; v <= kEdgeVertices; ++v) {
            double t = static_cast<double>(v) / (kEdgeVertices + 1);
            ring.x.push_back(kX0 + kSide * (c + cx[k] + t * (cx[k + 1] - cx[k])));
            ring.y.push_back(kY0 + kSide * (r + cy[k] + t * (cy[k + 1] - cy[k])));
          }
        }
        ring.x.push_back(ring.x.front());
        ring.y.push_back(ring.y.front());
        rings.push_back(ring);
      }
    }
    return rings;
  }();
  return lots;
}

// 5000 texts: every lot's number, in reversed order, between texts outside the lots.
const std::vector<parquill::ChibanText>& Texts() {
  static const std::vector<parquill::ChibanText> texts = [] {
    std::vector<parquill::ChibanText> list;
    for (int lot = kRows * kCols - 1; lot >= 0; --lot) {
      if (lot % 2 == 0) list.push_back({"outside", kX0 + lot, kY0 - 10});
      list.push_back({std::to_string(100 + lot), kX0 + kSide * (lot % kCols + 0.5),
                      kY0 + kSide * (lot / kCols + 0.5)});
      if (lot % 2 == 0) list.push_back({"outside", kX0 + lot + 0.5, kY0 - 20});
    }
    while (list.size() < 5000) list.push_back({"outside", kX0, kY0 - 30});
    return list;
  }();
  return texts;
}

std::int16_t PointsOf(const LotRing& ring) { return static_cast<std::int16_t>(ring.x.size() - 1); }

// The points as the plain loop keeps them: point k at index k - 1.
struct PointList {
  std::vector<double> x, y;

  // The number of the first point within the tolerance of (x, y); 0 when none.
  int Find(double px, double py) const {
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (parquill::WithinTolerance(x[i], px) && parquill::WithinTolerance(y[i], py)) {
        return static_cast<int>(i + 1);
      }
    }
    return 0;
  }
  void Add(double px, double py) {
    x.push_back(px);
    y.push_back(py);
  }
};

// The first text inside the ring or on it, trying the texts from the first.
const parquill::ChibanText* FirstInsideLinear(const LotRing& ring) {
  for (const parquill::ChibanText& text : Texts()) {
    if (parquill::InPolygon(PointsOf(ring), ring.x.data(), ring.y.data(), text.x, text.y) <= 0) {
      return &text;
    }
  }
  return nullptr;
}

// What the SIMA conversion does with the point table: every ring point is
// searched and the new ones added, then every listed ring point searched
// again. Returns the numbers of the second searches.
template <typename Table>
std::vector<int> NumberRingPoints(Table& points) {
  for (const LotRing& ring : Lots()) {
    for (std::size_t i = 0; i < ring.x.size(); ++i) {
      if (points.Find(ring.x[i], ring.y[i]) == 0) points.Add(ring.x[i], ring.y[i]);
    }
  }
  std::vector<int> numbers;
  numbers.reserve(Lots().size() * Lots().front().x.size());
  for (const LotRing& ring : Lots()) {
    for (std::size_t i = 0; i + 1 < ring.x.size(); ++i) {
      numbers.push_back(points.Find(ring.x[i], ring.y[i]));
    }
  }
  return numbers;
}

void BM_PointTableCapacityMap(benchmark::State& state) {
  {
    parquill::PointTable table;
    PointList list;
    if (NumberRingPoints(table) != NumberRingPoints(list)) {
      state.SkipWithError("the point table and the plain loop number the points differently");
      return;
    }
  }
  std::int64_t searches = 0;
  for (auto _ : state) {
    if (state.range(0) == kLinear) {
      PointList list;
      benchmark::DoNotOptimize(NumberRingPoints(list));
    } else {
      parquill::PointTable table;
      benchmark::DoNotOptimize(NumberRingPoints(table));
    }
    searches += 2 * static_cast<std::int64_t>(Lots().size() * Lots().front().x.size());
  }
  state.SetItemsProcessed(searches);
}
BENCHMARK(BM_PointTableCapacityMap)
    ->ArgName("linear")
    ->Arg(kIndexed)
    ->Arg(kLinear)
    ->Unit(benchmark::kMillisecond);

// What the attachment does: the first text inside each lot, 5000 texts.
void BM_TextAttachmentCapacityMap(benchmark::State& state) {
  {
    parquill::ChibanTextIndex index(Texts());
    for (const LotRing& ring : Lots()) {
      if (index.FirstInside(PointsOf(ring), ring.x.data(), ring.y.data()) !=
          FirstInsideLinear(ring)) {
        state.SkipWithError("the text index and the plain loop choose different texts");
        return;
      }
    }
  }
  for (auto _ : state) {
    if (state.range(0) == kLinear) {
      for (const LotRing& ring : Lots()) benchmark::DoNotOptimize(FirstInsideLinear(ring));
    } else {
      parquill::ChibanTextIndex index(Texts());
      for (const LotRing& ring : Lots()) {
        benchmark::DoNotOptimize(index.FirstInside(PointsOf(ring), ring.x.data(), ring.y.data()));
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Lots().size()));
}
BENCHMARK(BM_TextAttachmentCapacityMap)
    ->ArgName("linear")
    ->Arg(kIndexed)
    ->Arg(kLinear)
    ->Unit(benchmark::kMillisecond);

}  // namespace
