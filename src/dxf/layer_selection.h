#pragma once

#include <string>
#include <vector>

namespace parquill {

// The layer list as the user left it: its items ("すべて" first, then the
// drawing's layers in file order), which of them are selected, and the
// current item.
struct LayerSelection {
  std::vector<std::string> items;
  std::vector<bool> selected;  // one flag per item
  int listIndex = -1;          // the current item; -1 when the list has none
};

}  // namespace parquill
