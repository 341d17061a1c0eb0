#include "ui/starting_place.h"

#include <QFileInfo>

#include "ui/main_window.h"
#include "ui/map_xml_lots.h"

namespace parquill::ui {

QString OpenStartingPlace(MainWindow& form, const QString& argument) {
  const QFileInfo place(argument);
  if (place.isDir()) {
    form.SetFolder(place.absoluteFilePath());
    return {};
  }
  if (!place.isFile()) return argument + QStringLiteral(" が見つかりません。");
  if (IsMapXmlFileName(place.fileName().toStdString())) {
    form.SetFolder(place.absolutePath());
    form.OpenMapXml(place.absoluteFilePath());
    return {};
  }
  if (!form.OpenDrawing(place.absoluteFilePath())) {
    return argument + QStringLiteral(" は DXF ファイルではありません。");
  }
  return {};
}

}  // namespace parquill::ui
