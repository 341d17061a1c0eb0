#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "geometry/lot_model.h"
#include "mif/lot_mif_writer.h"

namespace parquill::ui {

// One lot model the site tools choose from: a 地図XML file, or the lots of
// the drawing converted, and what its files are written with.
struct SiteFile {
  std::shared_ptr<const LotModel> lots;
  std::string source;       // the input's name, for the DXF file's comment
  std::string attribution;  // a 地図XML file's 市区町村名
  MifPlace place;
  bool swapXY = true;
};

// Where a lot of the map stands in the site files.
struct SiteLotPlace {
  std::uint32_t file = 0;
  std::uint32_t lot = 0;  // in that file's model
};

// The lots the map shows, as the site tools choose them: one region of the
// map per place, in the map's order.
struct SiteLots {
  std::vector<SiteFile> files;
  std::vector<SiteLotPlace> ofRegion;
};

// True when every point of the lots' exterior rings has its boundary point
// number: the lots can be chosen with their neighbours and written.
bool BoundaryPointsNumbered(const LotModel& lots);

// A lot found by its number: where it is and how the list names it.
struct SiteMatch {
  SiteLotPlace place;
  std::size_t region = 0;  // on the map
  std::string name;        // "2740-1　大字名 1丁目"
};

// The lots chosen for a site. A selection lies within one file: the lots of
// two 地図XML files share no boundary points, and each file names its points
// on its own.
class SiteSelection {
 public:
  void Reset(std::shared_ptr<const SiteLots> lots);
  bool Available() const { return lots_ != nullptr && !lots_->ofRegion.empty(); }

  // The lots numbered `chiban` in every file, in the map's order.
  std::vector<SiteMatch> Find(const std::string& chiban) const;
  // The numbers nearest to `chiban` over every file, each once.
  std::vector<std::string> Nearest(const std::string& chiban) const;

  // True when the map's region is one of the lots.
  bool Holds(std::size_t region) const {
    return lots_ != nullptr && region < lots_->ofRegion.size();
  }
  // The region alone.
  void Choose(std::size_t region);
  // Adds the region, or takes it out when chosen; false (nothing changed)
  // for a lot of another file than the chosen ones.
  bool Toggle(std::size_t region);
  // Adds the regions of the chosen lots' file (of the first region's when
  // none is chosen); false when some of another file were left out.
  bool Add(const std::vector<std::size_t>& regions);
  void AddNeighbours();
  void Clear();

  bool Empty() const { return chosen_.empty(); }
  std::size_t Count() const { return chosen_.size(); }
  // The regions of the chosen lots on the map.
  std::vector<std::size_t> Regions() const;
  // The chosen lots as their own model, points numbered anew.
  LotModel Selected() const;
  const SiteFile& File() const { return lots_->files[file_]; }
  // The chosen lots' 地番, in model order.
  std::vector<std::string> Chibans() const;
  // Their area in square metres: each exterior ring less its holes.
  double SquareMetres() const;
  // The distinct boundary points of the chosen lots.
  std::size_t Points() const;

 private:
  std::shared_ptr<const SiteLots> lots_;
  std::vector<std::vector<std::size_t>> regionOfLot_;  // by file and lot; kNoRegion when unshown
  std::uint32_t file_ = 0;
  std::set<std::size_t> chosen_;  // lots of file_
};

}  // namespace parquill::ui
