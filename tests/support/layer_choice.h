#pragma once

#include <string>
#include <utility>
#include <vector>

#include "convert/conversion_choices.h"
#include "dxf/layer_selection.h"

namespace parquill::testing {

// The layer list of most test drawings, as the layer list step fills it.
inline const std::vector<std::string> kUsualLayers = {"すべて", "筆界", "地番", "0"};

// The list with the items at `chosen` selected, the last of them current.
inline LayerSelection Selecting(std::vector<int> chosen,
                                std::vector<std::string> items = kUsualLayers) {
  LayerSelection selection;
  selection.items = std::move(items);
  selection.selected.assign(selection.items.size(), false);
  for (int i : chosen) selection.selected[i] = true;
  selection.listIndex = chosen.empty() ? 0 : chosen.back();
  return selection;
}

// The choices of a run on `drawing` with the SIMA file `output`: the
// boundary layers and the lot-number layer as selected, CP932, X and Y exchanged.
inline ConversionChoices Choosing(std::string drawing, std::string output,
                                  LayerSelection boundary = {}, LayerSelection chiban = {}) {
  ConversionChoices choices;
  choices.drawing = std::move(drawing);
  choices.output = std::move(output);
  choices.boundary = std::move(boundary);
  choices.chiban = std::move(chiban);
  return choices;
}

// A drawing chosen for the layer list, read as lots drawn as lines or not.
inline ConversionChoices ChoosingDrawing(std::string drawing, bool fromLines = false) {
  ConversionChoices choices = Choosing(std::move(drawing), "");
  choices.fromLines = fromLines;
  return choices;
}

}  // namespace parquill::testing
