#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace parquill::ui {

// A file the window asks the user to choose in a file dialog.
struct FileQuestion {
  enum class Kind { kOpen, kSave };
  Kind kind = Kind::kOpen;
  QString title;
  QString start;   // the folder, or the proposed file, the dialog opens on
  QString filter;  // "DXF 図面 (*.dxf *.DXF)"
};

// Asks through the desktop's file dialog: the path chosen, empty when the
// user cancelled. Replaceable, so that tests open no dialog; returns the
// asker it replaces.
using FileAsker = std::function<QString(QWidget* parent, const FileQuestion& question)>;
FileAsker SetFileAsker(FileAsker asker);
QString AskForFile(QWidget* parent, const FileQuestion& question);

}  // namespace parquill::ui
