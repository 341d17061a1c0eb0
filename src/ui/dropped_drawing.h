#pragma once

#include <QMimeData>
#include <QString>

namespace parquill::ui {

// The first local drawing (a file named *.dxf, letter case ignored) among
// the files dropped; empty when none is.
QString DroppedDrawing(const QMimeData& dropped);

// The first local 地図XML file or ZIP (*.xml, *.zip, letter case ignored)
// among the files dropped; empty when none is.
QString DroppedMapXml(const QMimeData& dropped);

}  // namespace parquill::ui
