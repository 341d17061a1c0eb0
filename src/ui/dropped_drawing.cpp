#include "ui/dropped_drawing.h"

#include <QFileInfo>
#include <QUrl>

namespace parquill::ui {

QString DroppedDrawing(const QMimeData& dropped) {
  for (const QUrl& url : dropped.urls()) {
    if (!url.isLocalFile()) continue;
    const QFileInfo file(url.toLocalFile());
    if (file.isFile() && file.suffix().compare(QStringLiteral("dxf"), Qt::CaseInsensitive) == 0) {
      return file.absoluteFilePath();
    }
  }
  return {};
}

}  // namespace parquill::ui
