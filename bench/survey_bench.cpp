#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "geometry/point_in_polygon.h"

namespace {

// A wavy ring of 1000 points around (-28400, 15740), radius 40 to 60 m.
struct WavyRing {
  std::vector<double> x, y;
  WavyRing() {
    for (int i = 0; i < 1000; ++i) {
      double angle = 2 * M_PI * i / 1000;
      double radius = 50 + 10 * std::sin(7 * angle);
      x.push_back(-28400 + radius * std::cos(angle));
      y.push_back(15740 + radius * std::sin(angle));
    }
  }
};

void BM_InPolygonRing1000(benchmark::State& state) {
  static const WavyRing ring;
  // Inside, outside, and on a vertex.
  const double probes[][2] = {{-28400, 15740}, {-28300, 15740}, {ring.x[250], ring.y[250]}};
  for (auto _ : state) {
    for (const auto& p : probes) {
      benchmark::DoNotOptimize(parquill::InPolygon(static_cast<std::int16_t>(ring.x.size()),
                                                   ring.x.data(), ring.y.data(), p[0], p[1]));
    }
  }
  state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(BM_InPolygonRing1000);

}  // namespace
