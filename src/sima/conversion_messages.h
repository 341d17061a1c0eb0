#pragma once

#include "base/step_outcome.h"

// The messages with which the SIMA conversion stops, and the title of its trap.
namespace parquill {

// "ファイルが選択されていません。" / "ファイル選択"
Message NoFileSelectedMessage();
// "座標が、15000点を超えました。" / "座標点数"
Message TooManyPointsMessage();
// "筆個数が、2000個を超えました。" / "筆個数"
Message TooManyLotsMessage();

}  // namespace parquill
