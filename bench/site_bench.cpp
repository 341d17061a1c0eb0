// A site cut out of a map of 10,000 lots, once the map is read: the lot by
// its number, its neighbours, the site's own model, and its SIMA, MIF/MID
// and DXF files written (the budget: under 0.2 s).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "geometry/lot_selection.h"
#include "sima/lot_files.h"

namespace {

// 100 × 100 square lots of 20 m with a point in the middle of every side,
// numbered 1 to 10,000 in 本町, the points numbered in order of first use.
parquill::LotModel GridOfLots() {
  constexpr int kSide = 100;
  constexpr double kWidth = 20;
  parquill::LotModel lots;
  lots.columns = {{"Chiban", 0}, {"Oaza", 0}};
  std::map<std::pair<int, int>, int> numbers;  // by half-lot grid position
  for (int row = 0; row < kSide; ++row) {
    for (int column = 0; column < kSide; ++column) {
      lots.AddLot();
      lots.Value(lots.lots.size() - 1, 0) = std::to_string(row * kSide + column + 1);
      lots.Value(lots.lots.size() - 1, 1) = "本町";
      lots.AddRing();
      const int ring[][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2},
                             {1, 2}, {0, 2}, {0, 1}, {0, 0}};
      for (const auto& [dx, dy] : ring) {
        const std::pair<int, int> at{2 * column + dx, 2 * row + dy};
        const parquill::PlanePoint point{-28000 + at.first * kWidth / 2,
                                         15000 + at.second * kWidth / 2};
        auto [known, added] = numbers.emplace(at, static_cast<int>(numbers.size()) + 1);
        if (added) lots.boundaryPoints.push_back({point, {}});
        lots.AddPoint(point);
        lots.pointNumbers.push_back(known->second);
      }
    }
  }
  return lots;
}

void BM_SiteOf10000Lots(benchmark::State& state) {
  static const parquill::LotModel map = GridOfLots();
  char folder[] = "/tmp/parquill-site-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) state.SkipWithError("no temporary folder");
  parquill::LotFileChoices files;
  files.output = std::string(folder) + "/site.Sim";
  files.formats = parquill::kLotSima | parquill::kLotMif | parquill::kLotDxf;
  for (auto _ : state) {
    std::vector<std::size_t> chosen;
    parquill::ChooseLots(map, {{"5050"}, "本町", true}, chosen);
    parquill::WriteChosenLotFiles(parquill::SelectedLots(map, chosen), files);
  }
  for (const char* name : {"site.Sim", "site.MIF", "site.MID", "site.DXF"}) {
    std::remove((std::string(folder) + "/" + name).c_str());
  }
  std::remove(folder);
}
BENCHMARK(BM_SiteOf10000Lots)->Unit(benchmark::kMillisecond);

}  // namespace
