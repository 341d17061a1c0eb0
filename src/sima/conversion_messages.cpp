#include "sima/conversion_messages.h"

#include <string>

#include "base/limits.h"
#include "sima/point_table.h"

namespace parquill {

Message NoFileSelectedMessage() { return {"ファイルが選択されていません。", "ファイル選択"}; }

Message TooManyPointsMessage() {
  return {"座標が、" + std::to_string(PointTable::kCapacity) + "点を超えました。", "座標点数"};
}

Message TooManyLotsMessage() {
  return {"筆個数が、" + std::to_string(kSimaLotCapacity) + "個を超えました。", "筆個数"};
}

}  // namespace parquill
