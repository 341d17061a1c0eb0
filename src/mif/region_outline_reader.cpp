#include "mif/region_outline_reader.h"

#include <new>

#include "mif/region_ring_reader.h"
#include "base/line_reader.h"
#include "base/runtime_error.h"

namespace parquill {

RegionOutlines ReadRegionOutlines(const std::string& mifPath, std::size_t capacity) {
  RegionOutlines outlines;
  try {
    LineReader mif(mifPath);
    RegionRing ring;
    while (ReadNextRegionRing(mif, ring)) {
      if (outlines.rings.size() >= capacity) {
        outlines.complete = false;
        break;
      }
      std::vector<MapPoint>& points = outlines.rings.emplace_back();
      points.reserve(static_cast<std::size_t>(ring.count));
      for (int k = 1; k <= ring.count; ++k) points.push_back({ring.x[k], ring.y[k]});
    }
  } catch (const RuntimeError&) {
    outlines.complete = false;
  } catch (const std::bad_alloc&) {
    outlines.complete = false;
  }
  return outlines;
}

}  // namespace parquill
