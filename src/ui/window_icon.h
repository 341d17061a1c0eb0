#pragma once

#include <QIcon>

namespace parquill::ui {

// The window's icon, 32 by 32 pixels: a lot outline with its boundary points
// and a pen nib drawing the last side.
QIcon WindowIcon();

}  // namespace parquill::ui
