#include <benchmark/benchmark.h>

#include <string_view>

#include "base/number_text.h"

namespace {

// Value lines as a drawing holds them: coordinates, heights, flags, counts.
constexpr std::string_view kValueLines[] = {
    "-28410.25", "15730.5", "0.0",    "2.5",   "-28392.125",  "15754.0625", "1",
    "5",         "1e+20",   "-1e+20", "420.0", "-28404.1234", "15741.5",    "  1",
};

void BM_NumberFromText(benchmark::State& state) {
  for (auto _ : state) {
    for (std::string_view line : kValueLines) {
      benchmark::DoNotOptimize(parquill::NumberFromText(line));
    }
  }
  state.SetItemsProcessed(state.iterations() * std::size(kValueLines));
}
BENCHMARK(BM_NumberFromText);

}  // namespace
