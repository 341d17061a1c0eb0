#pragma once

#include <string>
#include <utility>
#include <vector>

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

}  // namespace parquill::testing
