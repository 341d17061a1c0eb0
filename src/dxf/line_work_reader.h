#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "base/text_codec.h"
#include "dxf/chiban_text_reader.h"
#include "dxf/layer_list_reader.h"
#include "dxf/layer_selection.h"
#include "geometry/line_work_faces.h"

namespace parquill {

// Lots drawn as lines can be read from R12 drawings (version code 12) on:
// the reading goes by group codes alone, without the subclass markers.
constexpr bool IsLineWorkDxfVersion(std::int32_t code) { return code >= 12; }

// The most boundary segments one drawing may have, chords of arcs included.
inline constexpr std::size_t kMostLineSegments = 1'000'000;

// The boundary lines of a drawing of lots drawn as lines.
struct LineWorkDrawing {
  std::vector<std::vector<PlanePoint>> lines;  // each a run of two points or more
  std::size_t segments = 0;
  int arcsChorded = 0;           // ARC entities and bulged polyline segments made into chords
  std::size_t lineEntities = 0;  // LINE entities of the boundary layers
  // Boundary entities left out for an askew extrusion, by decoded layer name.
  std::map<std::string, std::size_t> askew;
  std::optional<Message> refusal;  // a broken drawing: the reading stopped there
};

// Reads the boundary entities of the ENTITIES section (the names of the
// selected items; "すべて" takes every layer): the LINEs, the LWPOLYLINEs and
// POLYLINEs, open or closed, bulges made into chords, and the ARCs, made into
// chords; `withBlocks`, those of the blocks the INSERTs place too
// (ReadDxfEntitiesWithBlocks). A coordinate that is no finite number or
// lies beyond kLargestCoordinate, or more than `mostSegments` segments, give
// the refusal. File errors raise RuntimeError.
LineWorkDrawing ReadLineWork(const std::string& dxfPath, const std::vector<std::string>& boundary,
                             DxfReading reading, bool withBlocks = false,
                             std::size_t mostSegments = kMostLineSegments);

// The line work (LINEs, ARCs, POLYLINEs but meshes) and INSERTs of each of
// the layers (the names of the selected items; "すべて" takes every layer),
// by decoded layer name, in one reading.
struct LayerEntityCounts {
  std::size_t lines = 0;
  std::size_t inserts = 0;
};
std::map<std::string, LayerEntityCounts> CountLinesAndInserts(
    const std::string& dxfPath, const std::vector<std::string>& layers, DxfReading reading);

// Whether the drawing holds a LINE, POLYLINE or ARC, or an INSERT that
// places one (false when it cannot be read).
bool HoldsLineWork(const std::string& dxfPath);

// The lot-number texts of the one selected layer, read as ReadLineWork reads
// them, each where DxfEntity::TextPoint puts it, with its centre
// (DxfEntity::TextCentre), its string decoded (DxfEntity::DecodedString);
// ATTRIBs too, `withBlocks` (with the texts of the blocks placed), else they
// and the texts the INSERTs would place are only counted. Refusals and traps
// as ReadChibanTexts gives them.
ChibanTextRead ReadLineWorkTexts(const std::string& dxfPath, const LayerSelection& selection,
                                 DxfReading reading, bool withBlocks = false);

// The layer names for lots drawn as lines, each once, in file order: those of
// the LAYER table, then those only entities name; each handed to `onName`.
void ScanLineWorkLayerNames(const std::string& path, TextEncoding encoding,
                            const std::function<void(const std::string&)>& onName);

}  // namespace parquill
