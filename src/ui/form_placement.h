#pragma once

#include <QRect>
#include <QSize>

namespace parquill::ui {

// Where the window opens on a screen whose area left to windows is
// `available`: most of that area (up to a size past which a larger window
// only spreads the controls), never below `least` nor beyond the area,
// centred in it.
QRect FormPlaceFor(QRect available, QSize least);

}  // namespace parquill::ui
