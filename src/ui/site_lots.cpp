#include "ui/site_lots.h"

#include <algorithm>
#include <limits>

#include "geometry/lot_selection.h"
#include "geometry/ring_area.h"

namespace parquill::ui {
namespace {

constexpr std::size_t kNoRegion = std::numeric_limits<std::size_t>::max();
// How many near numbers a search that found nothing offers.
constexpr std::size_t kNearestOffered = 5;

// The value of the column named `name`; empty when the model has none.
std::string ValueOf(const LotModel& lots, std::size_t lot, std::string_view name) {
  for (std::size_t c = 0; c < lots.columns.size(); ++c) {
    if (lots.columns[c].name == name) return lots.Value(lot, c);
  }
  return {};
}

double RingSquareMetres(const LotModel& lots, const LotModel::Ring& ring) {
  ShoelaceSum sum;
  for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
    sum.Add(lots.points[i].x, lots.points[i].y);
  }
  return sum.Area();
}

}  // namespace

bool BoundaryPointsNumbered(const LotModel& lots) {
  if (lots.lots.empty() || lots.pointNumbers.size() != lots.points.size()) return false;
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const LotModel::Ring& ring = lots.ExteriorOf(l);
    for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
      const std::int32_t k = lots.pointNumbers[i];
      if (k <= 0 || static_cast<std::size_t>(k) > lots.boundaryPoints.size()) return false;
    }
  }
  return true;
}

void SiteSelection::Reset(std::shared_ptr<const SiteLots> lots) {
  lots_ = std::move(lots);
  chosen_.clear();
  file_ = 0;
  regionOfLot_.clear();
  if (lots_ == nullptr) return;
  for (const SiteFile& file : lots_->files)
    regionOfLot_.emplace_back(file.lots->lots.size(), kNoRegion);
  for (std::size_t region = 0; region < lots_->ofRegion.size(); ++region) {
    const SiteLotPlace& place = lots_->ofRegion[region];
    regionOfLot_[place.file][place.lot] = region;
  }
}

std::vector<SiteMatch> SiteSelection::Find(const std::string& chiban) const {
  std::vector<SiteMatch> matches;
  if (lots_ == nullptr) return matches;
  for (std::uint32_t f = 0; f < lots_->files.size(); ++f) {
    const SiteFile& file = lots_->files[f];
    for (std::size_t lot : LotsNumbered(*file.lots, chiban)) {
      const std::size_t region = regionOfLot_[f][lot];
      if (region == kNoRegion) continue;  // not on the map: beyond what it keeps
      std::string name = file.lots->Chiban(lot);
      std::string where = ValueOf(*file.lots, lot, "Oaza");
      const std::string chome = ValueOf(*file.lots, lot, "Chome");
      if (!chome.empty()) where += (where.empty() ? "" : " ") + chome;
      if (!where.empty()) name += "　" + where;
      if (lots_->files.size() > 1) name += "（" + file.source + "）";
      matches.push_back({{f, static_cast<std::uint32_t>(lot)}, region, std::move(name)});
    }
  }
  std::sort(matches.begin(), matches.end(),
            [](const SiteMatch& a, const SiteMatch& b) { return a.region < b.region; });
  return matches;
}

std::vector<std::string> SiteSelection::Nearest(const std::string& chiban) const {
  std::vector<std::string> nearest;
  if (lots_ == nullptr) return nearest;
  for (const SiteFile& file : lots_->files) {
    for (std::string& number : NearestChibans(*file.lots, chiban, kNearestOffered)) {
      if (nearest.size() == kNearestOffered) return nearest;
      if (std::find(nearest.begin(), nearest.end(), number) == nearest.end()) {
        nearest.push_back(std::move(number));
      }
    }
  }
  return nearest;
}

void SiteSelection::Choose(std::size_t region) {
  chosen_.clear();
  const SiteLotPlace& place = lots_->ofRegion.at(region);
  file_ = place.file;
  chosen_.insert(place.lot);
}

bool SiteSelection::Toggle(std::size_t region) {
  const SiteLotPlace& place = lots_->ofRegion.at(region);
  if (chosen_.empty()) file_ = place.file;
  if (place.file != file_) return false;
  if (chosen_.erase(place.lot) == 0) chosen_.insert(place.lot);
  return true;
}

bool SiteSelection::Add(const std::vector<std::size_t>& regions) {
  bool all = true;
  for (std::size_t region : regions) {
    const SiteLotPlace& place = lots_->ofRegion.at(region);
    if (chosen_.empty()) file_ = place.file;
    if (place.file != file_) {
      all = false;
      continue;
    }
    chosen_.insert(place.lot);
  }
  return all;
}

void SiteSelection::AddNeighbours() {
  if (chosen_.empty()) return;
  const std::vector<std::size_t> with =
      WithNeighbours(*File().lots, std::vector<std::size_t>(chosen_.begin(), chosen_.end()));
  chosen_.insert(with.begin(), with.end());
}

void SiteSelection::Clear() { chosen_.clear(); }

std::vector<std::size_t> SiteSelection::Regions() const {
  std::vector<std::size_t> regions;
  for (std::size_t lot : chosen_) {
    const std::size_t region = regionOfLot_[file_][lot];
    if (region != kNoRegion) regions.push_back(region);
  }
  return regions;
}

LotModel SiteSelection::Selected() const {
  return SelectedLots(*File().lots, std::vector<std::size_t>(chosen_.begin(), chosen_.end()));
}

std::vector<std::string> SiteSelection::Chibans() const {
  std::vector<std::string> chibans;
  for (std::size_t lot : chosen_) chibans.push_back(File().lots->Chiban(lot));
  return chibans;
}

double SiteSelection::SquareMetres() const {
  double area = 0;
  const LotModel& lots = *File().lots;
  for (std::size_t lot : chosen_) {
    const LotModel::Lot& rings = lots.lots[lot];
    for (std::uint32_t r = 0; r < rings.ringCount; ++r) {
      const double ring = RingSquareMetres(lots, lots.rings[rings.firstRing + r]);
      area += r == 0 ? ring : -ring;
    }
  }
  return area;
}

std::size_t SiteSelection::Points() const {
  std::set<std::int32_t> points;
  const LotModel& lots = *File().lots;
  for (std::size_t lot : chosen_) {
    const LotModel::Ring& ring = lots.ExteriorOf(lot);
    for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
      points.insert(lots.pointNumbers[i]);
    }
  }
  points.erase(0);
  return points.size();
}

}  // namespace parquill::ui
