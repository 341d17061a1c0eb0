#pragma once

#include <QMimeData>
#include <QString>

namespace parquill::ui {

// The first local drawing (a file named *.dxf, letter case ignored) among
// the files dropped; empty when none is.
QString DroppedDrawing(const QMimeData& dropped);

}  // namespace parquill::ui
