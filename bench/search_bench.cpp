// The two searches of a conversion on the capacity map (40 × 50 lots, 3 extra
// vertices on every edge: 14361 boundary points; 2000 lot numbers and 3000
// texts outside the lots, the lot numbers in reversed order), indexed against
// linear.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "dxf/chiban_text_reader.h"
#include "geometry/chiban_text_index.h"
#include "sima/point_table.h"

namespace {

using parquill::SearchStrategy;

constexpr int kRows = 40;
constexpr int kCols = 50;
constexpr int kEdgeVertices = 3;
constexpr double kSide = 20;
constexpr double kX0 = -28510.25;
constexpr double kY0 = 15630.5;

struct Ring {
  std::vector<double> x, y;  // closed: the last point repeats the first
};

// The lots' rings in drawing order, every edge with its extra vertices.
const std::vector<Ring>& Lots() {
  static const std::vector<Ring> lots = [] {
    std::vector<Ring> rings;
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kCols; ++c) {
        const double cx[] = {0, 1, 1, 0, 0}, cy[] = {0, 0, 1, 1, 0};
        Ring ring;
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

// What the SIMA conversion does with the point table: every ring point is
// searched and the new ones added, then every listed ring point searched again.
void BM_PointTableCapacityMap(benchmark::State& state) {
  const auto search = static_cast<SearchStrategy>(state.range(0));
  std::int64_t searches = 0;
  for (auto _ : state) {
    parquill::PointTable points(search);
    for (const Ring& ring : Lots()) {
      for (std::size_t i = 0; i < ring.x.size(); ++i) {
        if (points.Find(ring.x[i], ring.y[i]) == 0) points.Add(ring.x[i], ring.y[i]);
      }
    }
    for (const Ring& ring : Lots()) {
      for (std::size_t i = 0; i + 1 < ring.x.size(); ++i) {
        benchmark::DoNotOptimize(points.Find(ring.x[i], ring.y[i]));
      }
    }
    searches += 2 * static_cast<std::int64_t>(Lots().size() * Lots().front().x.size());
  }
  state.SetItemsProcessed(searches);
}
BENCHMARK(BM_PointTableCapacityMap)
    ->ArgName("linear")
    ->Arg(static_cast<int>(SearchStrategy::kIndexed))
    ->Arg(static_cast<int>(SearchStrategy::kLinear))
    ->Unit(benchmark::kMillisecond);

// What the attachment does: the first text inside each lot, 5000 texts.
void BM_TextAttachmentCapacityMap(benchmark::State& state) {
  const auto search = static_cast<SearchStrategy>(state.range(0));
  std::vector<parquill::ChibanText> texts;
  for (int lot = kRows * kCols - 1; lot >= 0; --lot) {
    if (lot % 2 == 0) texts.push_back({"outside", kX0 + lot, kY0 - 10});
    texts.push_back({std::to_string(100 + lot), kX0 + kSide * (lot % kCols + 0.5),
                     kY0 + kSide * (lot / kCols + 0.5)});
    if (lot % 2 == 0) texts.push_back({"outside", kX0 + lot + 0.5, kY0 - 20});
  }
  while (texts.size() < 5000) texts.push_back({"outside", kX0, kY0 - 30});
  for (auto _ : state) {
    parquill::ChibanTextIndex index(texts, search);
    for (const Ring& ring : Lots()) {
      benchmark::DoNotOptimize(index.FirstInside(static_cast<std::int16_t>(ring.x.size() - 1),
                                                 ring.x.data(), ring.y.data()));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(Lots().size()));
}
BENCHMARK(BM_TextAttachmentCapacityMap)
    ->ArgName("linear")
    ->Arg(static_cast<int>(SearchStrategy::kIndexed))
    ->Arg(static_cast<int>(SearchStrategy::kLinear))
    ->Unit(benchmark::kMillisecond);

}  // namespace
