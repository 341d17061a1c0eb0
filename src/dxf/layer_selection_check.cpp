#include "dxf/layer_selection_check.h"

namespace parquill {

std::optional<Message> FillSelectedLayerTable(const LayerSelection& selection,
                                              SelectedLayerTable& table) {
  constexpr const char* kTitle = "抽出レイア";
  table.names.clear();
  if (selection.listIndex == -1) return Message{"リストが選択されていません。", kTitle};
  for (std::size_t i = 0; i < selection.items.size(); ++i) {
    if (i >= selection.selected.size() || !selection.selected[i]) continue;
    if (table.names.size() + 1 > kSelectedLayerCapacity) {
      return Message{
          "選択レイヤ数が、" + std::to_string(kSelectedLayerCapacity) + "を超えています。", kTitle};
    }
    table.names.push_back(selection.items[i]);
  }
  return std::nullopt;
}

}  // namespace parquill
