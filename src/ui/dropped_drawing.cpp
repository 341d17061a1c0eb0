#include "ui/dropped_drawing.h"

#include <QFileInfo>
#include <QUrl>

namespace parquill::ui {

namespace {

// The first local file dropped whose suffix is one of `suffixes`, any case.
QString FirstDropped(const QMimeData& dropped, std::initializer_list<QLatin1String> suffixes) {
  for (const QUrl& url : dropped.urls()) {
    if (!url.isLocalFile()) continue;
    const QFileInfo file(url.toLocalFile());
    if (!file.isFile()) continue;
    for (QLatin1String suffix : suffixes) {
      if (file.suffix().compare(suffix, Qt::CaseInsensitive) == 0) return file.absoluteFilePath();
    }
  }
  return {};
}

}  // namespace

QString DroppedDrawing(const QMimeData& dropped) {
  return FirstDropped(dropped, {QLatin1String("dxf")});
}

QString DroppedMapXml(const QMimeData& dropped) {
  return FirstDropped(dropped, {QLatin1String("xml"), QLatin1String("zip")});
}

}  // namespace parquill::ui
