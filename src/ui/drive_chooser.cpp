#include "ui/drive_chooser.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

#include "ui/file_system_roots.h"

namespace parquill::ui {

DriveChooser::DriveChooser(QWidget* parent) : QComboBox(parent), roots_(FileSystemRoots()) {
  for (const QString& root : roots_) addItem(RootCaption(root, QDir::homePath()), root);
}

QString DriveChooser::drive() const { return currentData().toString(); }

QString DriveChooser::currentFolderOfDrive() const {
  const QString root = drive();
  const QString folder = currentFolders_.value(root, root);
  return QFileInfo(folder).isDir() ? folder : root;
}

void DriveChooser::followFolder(const QString& folder) {
  const int index = RootIndexOf(roots_, folder);
  if (index < 0) return;
  const QSignalBlocker quiet(this);
  setCurrentIndex(index);
  currentFolders_[roots_[index]] = folder;
}

}  // namespace parquill::ui
