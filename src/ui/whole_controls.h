#pragma once

#include <QStringList>
#include <QWidget>

namespace parquill::ui {

// The shown controls of `window` (found by their object names) that are not
// whole: cut by the window's edge, smaller than their caption or text needs,
// or lying over another control (other than the frame holding them); and the
// map when it is narrower than `leastMapWidth`. Each as "name: what is
// wrong"; empty when all are whole.
QStringList ControlsNotWhole(const QWidget& window, int leastMapWidth);

// The least size a control needs to show its caption or its text whole.
QSize LeastSize(const QWidget& control);

}  // namespace parquill::ui
