#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "geometry/plane_point.h"

namespace parquill {

// The regions of a MIF file as outlines for the map, read with the same ring
// reader as the attachment. Never throws: reading stops quietly at the first
// fault, or after `capacity` regions, keeping what was read.
struct RegionOutlines {
  std::vector<std::vector<PlanePoint>> rings;  // in file order, closing point included
  bool complete = true;                      // false when a fault or the capacity stopped it
};

RegionOutlines ReadRegionOutlines(const std::string& mifPath, std::size_t capacity = 200'000);

}  // namespace parquill
