#pragma once

#include <QComboBox>
#include <QHash>
#include <QStringList>

namespace parquill::ui {

// The drive chooser: the file-system roots ("/", the mounted volumes, the
// home folder), each named for the user with its path. Like a drive, each root has a current
// folder: the last folder shown on it, at first the root itself.
class DriveChooser : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveChooser(QWidget* parent = nullptr);

  // The root now chosen.
  QString drive() const;
  // The current folder of the root now chosen.
  QString currentFolderOfDrive() const;
  // Chooses, without raising a change, the root that holds `folder` and makes
  // `folder` that root's current folder.
  void followFolder(const QString& folder);

 private:
  QStringList roots_;
  QHash<QString, QString> currentFolders_;
};

}  // namespace parquill::ui
