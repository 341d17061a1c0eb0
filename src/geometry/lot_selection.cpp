#include "geometry/lot_selection.h"

#include <algorithm>
#include <bit>
#include <tuple>
#include <unordered_map>

namespace parquill {
namespace {

constexpr const char* kSearchTitle = "地番検索";

// The lot number's main number: the digits it begins with.
std::string_view MainNumber(std::string_view chiban) {
  return chiban.substr(0, chiban.find_first_not_of("0123456789"));
}

// The fewest single-byte edits that turn `a` into `b`.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::uint64_t PlaceKey(PlanePoint at) {
  return std::bit_cast<std::uint64_t>(at.x + 0.0) * 0x9E3779B97F4A7C15ULL ^
         std::bit_cast<std::uint64_t>(at.y + 0.0);
}

}  // namespace

std::vector<std::size_t> LotsNumbered(const LotModel& lots, std::string_view chiban,
                                      std::string_view oaza) {
  std::size_t oazaColumn = lots.columns.size();
  for (std::size_t c = 0; c < lots.columns.size(); ++c) {
    if (lots.columns[c].name == "Oaza") oazaColumn = c;
  }
  std::vector<std::size_t> found;
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    if (lots.Chiban(l) != chiban) continue;
    if (!oaza.empty() && (oazaColumn == lots.columns.size() || lots.Value(l, oazaColumn) != oaza))
      continue;
    found.push_back(l);
  }
  return found;
}

std::vector<std::string> NearestChibans(const LotModel& lots, std::string_view chiban,
                                        std::size_t count) {
  std::vector<std::tuple<bool, std::size_t, std::string_view>> ranked;
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const std::string& other = lots.Chiban(l);
    ranked.emplace_back(MainNumber(other) != MainNumber(chiban), EditDistance(chiban, other),
                        other);
  }
  std::sort(ranked.begin(), ranked.end());
  std::vector<std::string> nearest;
  for (const auto& [differs, distance, other] : ranked) {
    if (nearest.size() == count) break;
    if (!other.empty() && std::find(nearest.begin(), nearest.end(), other) == nearest.end())
      nearest.emplace_back(other);
  }
  return nearest;
}

std::vector<std::size_t> WithNeighbours(const LotModel& lots,
                                        const std::vector<std::size_t>& chosen) {
  // A hole's points have no number of their own: each takes the number of
  // the exterior ring point at its place (an enclave's corner).
  std::unordered_map<std::uint64_t, std::int32_t> numberAt;
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const LotModel::Ring& ring = lots.ExteriorOf(l);
    for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
      numberAt.emplace(PlaceKey(lots.points[i]), lots.pointNumbers[i]);
    }
  }
  auto numbersOf = [&](std::size_t l, auto&& take) {
    const LotModel::Lot& lot = lots.lots[l];
    for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
      const LotModel::Ring& ring = lots.rings[lot.firstRing + r];
      for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
        std::int32_t k = lots.pointNumbers[i];
        if (k == 0) {
          const auto at = numberAt.find(PlaceKey(lots.points[i]));
          k = at == numberAt.end() ? 0 : at->second;
        }
        if (k > 0) take(static_cast<std::size_t>(k));
      }
    }
  };
  std::vector<bool> touched(lots.boundaryPoints.size() + 1, false);
  for (std::size_t l : chosen) numbersOf(l, [&](std::size_t k) { touched[k] = true; });
  std::vector<std::size_t> result;
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    bool neighbour = false;
    numbersOf(l, [&](std::size_t k) { neighbour = neighbour || touched[k]; });
    if (neighbour) result.push_back(l);
  }
  return result;
}

Outcome ChooseLots(const LotModel& lots, const LotQuery& query, std::vector<std::size_t>& chosen) {
  chosen.clear();
  Outcome outcome;
  for (const std::string& chiban : query.chibans) {
    const std::vector<std::size_t> found = LotsNumbered(lots, chiban, query.oaza);
    chosen.insert(chosen.end(), found.begin(), found.end());
    if (!found.empty()) continue;
    std::string text = (query.oaza.empty() ? "" : "大字 " + query.oaza + " に") + "地番 " + chiban +
                       " の筆はありません。";
    const std::vector<std::string> nearest = NearestChibans(lots, chiban);
    for (std::size_t i = 0; i < nearest.size(); ++i) {
      text += (i == 0 ? "近い地番: " : "、") + nearest[i];
    }
    outcome.kind = OutcomeKind::kRefused;
    outcome.messages.push_back({text, kSearchTitle});
  }
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  if (!outcome.done()) chosen.clear();
  if (query.neighbours && !chosen.empty()) chosen = WithNeighbours(lots, chosen);
  return outcome;
}

LotModel SelectedLots(const LotModel& lots, const std::vector<std::size_t>& chosen) {
  LotModel site;
  site.idType = lots.idType;
  site.columns = lots.columns;
  std::vector<std::int32_t> renumbered(lots.boundaryPoints.size() + 1, 0);
  for (std::size_t l : chosen) {
    site.AddLot();
    std::copy_n(lots.values.begin() + static_cast<std::ptrdiff_t>(l * lots.columns.size()),
                lots.columns.size(),
                site.values.end() - static_cast<std::ptrdiff_t>(lots.columns.size()));
    const LotModel::Lot& lot = lots.lots[l];
    for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
      const LotModel::Ring& ring = lots.rings[lot.firstRing + r];
      site.AddRing();
      for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
        site.AddPoint(lots.points[i]);
        const std::int32_t k = i < lots.pointNumbers.size() ? lots.pointNumbers[i] : 0;
        std::int32_t& number = renumbered[static_cast<std::size_t>(k)];
        if (k > 0 && number == 0) {
          const BoundaryPoint& point = lots.boundaryPoints[static_cast<std::size_t>(k - 1)];
          site.boundaryPoints.push_back(
              {point.at, point.name.empty() ? "K" + std::to_string(k) : point.name});
          number = static_cast<std::int32_t>(site.boundaryPoints.size());
        }
        site.pointNumbers.push_back(k > 0 ? number : 0);
      }
    }
  }
  return site;
}

}  // namespace parquill
