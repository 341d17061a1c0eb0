#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "dxf/dxf_entities.h"

namespace parquill {

// How deep blocks within blocks are placed, and how many block entities one
// drawing places at most (a MINSERT of many cells, blocks nested many times):
// past either, no more are placed.
inline constexpr int kMostBlockLevels = 16;
inline constexpr std::size_t kMostPlacedEntities = 100'000;

// Reads the entities of the ENTITIES section as ReadDxfEntities does, every
// INSERT replaced by the entities of its block placed by it: the block's base
// point at the INSERT's point, scaled (41, 42), turned (50), in every cell of
// a MINSERT (70 columns and 71 rows, 44 and 45 apart). A block entity on
// layer "0" takes its INSERT's layer; others keep their own. A block placed
// within itself places nothing more. The ATTRIBs
// after an INSERT are handed on as they stand when `wanted` takes them.
// Entities whose extrusion is askew are counted in `askew` each time they
// would be placed, by the layer they would take, and left out.
bool ReadDxfEntitiesWithBlocks(const std::string& path,
                               const std::function<bool(std::string_view type)>& wanted,
                               const std::function<bool(const DxfEntity&)>& onEntity,
                               double unitsPerMetre = 1, AskewCounts* askew = nullptr);

}  // namespace parquill
