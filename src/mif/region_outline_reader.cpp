#include "mif/region_outline_reader.h"

#include <new>

#include "base/runtime_error.h"
#include "mif/mif_reader.h"

namespace parquill {

RegionOutlines ReadRegionOutlines(const std::string& mifPath, std::size_t capacity) {
  RegionOutlines outlines;
  try {
    MifReader mif(mifPath, MifRules::Attachment());
    MifRing ring;
    while (mif.NextRing(ring)) {
      if (outlines.rings.size() >= capacity) {
        outlines.complete = false;
        break;
      }
      std::vector<PlanePoint>& points = outlines.rings.emplace_back();
      points.reserve(ring.x.size());
      for (std::size_t k = 0; k < ring.x.size(); ++k) points.push_back({ring.x[k], ring.y[k]});
    }
  } catch (const RuntimeError&) {
    outlines.complete = false;
  } catch (const std::bad_alloc&) {
    outlines.complete = false;
  }
  return outlines;
}

}  // namespace parquill
