#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "dxf/layer_selection.h"

namespace parquill {

// The most layers a step takes from the list.
inline constexpr std::size_t kSelectedLayerCapacity = 100;

// The selected items of the layer list, in list order: slot k of the table
// is names[k - 1].
struct SelectedLayerTable {
  std::vector<std::string> names;
};

// The first checks that every step reading the layer list makes: the list
// must have a current item ("リストが選択されていません。") and at most
// 100 items may be selected ("選択レイヤ数が、100を超えています。"), both
// under the title "抽出レイア". Fills `table` with the selected items and
// returns the refusal, if any.
std::optional<Message> FillSelectedLayerTable(const LayerSelection& selection,
                                              SelectedLayerTable& table);

}  // namespace parquill
