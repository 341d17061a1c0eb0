#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "dxf/dxf_reading.h"
#include "dxf/layer_selection.h"
#include "dxf/mtext_cleaner.h"
#include "geometry/chiban_text_index.h"
#include "geometry/plane_point.h"

namespace parquill {

// The most lot-number texts one reading takes.
inline constexpr std::size_t kChibanTextCapacity = 5000;

struct ChibanTextRead {
  bool failed = false;                // the reading refused or hit the text limit: the step ends
  std::vector<ChibanText> texts;      // accepted texts in file order (slot k = texts[k-1])
  std::vector<PlanePoint> centres;    // read as entities: each text's centre (TextCentre)
  std::size_t attribsSkipped = 0;     // read as entities without blocks: ATTRIBs of the layer
  std::size_t blockTextsSkipped = 0;  // and TEXTs and MTEXTs the layer's INSERTs would place
  std::size_t askewTexts = 0;         // texts of the layer left out for an askew extrusion
  std::vector<Message> messages;      // the boxes shown: a refusal, the limit or the trap
  int trappedError = 0;               // a run-time error caught by the trap ("PARQUILL");
                                      // failed stays false then and the texts read so far stand
};

// The one layer the texts are taken from (`textLayer`), or the refusal.
std::optional<Message> CheckTextLayerSelection(const LayerSelection& selection,
                                               const std::string& dxfPath, std::string& textLayer);

// Collects the TEXT and MTEXT entities of the ENTITIES section that lie on
// the one selected layer of the list, with their points (the alignment point
// when a TEXT has one). MTEXT strings pass through CleanMText.
// `host`, when given, is shown how much of the drawing is read.
ChibanTextRead ReadChibanTexts(const std::string& dxfPath, const LayerSelection& selection,
                               DxfReading reading, std::size_t capacity = kChibanTextCapacity,
                               StepHost* host = nullptr);

}  // namespace parquill
