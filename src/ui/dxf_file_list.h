#pragma once

#include <QFileSystemWatcher>
#include <QListWidget>

namespace parquill::ui {

// The file list: the files of one folder that match the pattern, letter case
// ignored (so "*.DXF" also lists "plan.dxf"). A click, moving to another
// file with the keyboard, or Space or Enter on the current file raises
// fileClicked with the file's name. The list follows the folder's contents
// as files come and go, the selected file kept.
class DxfFileList : public QListWidget {
  Q_OBJECT

 public:
  explicit DxfFileList(QWidget* parent = nullptr);

  QString folder() const { return folder_; }
  void setFolder(const QString& folder);
  void setPattern(const QString& pattern);
  // Makes `name` the selected file, without raising a click; false when the
  // folder holds no such listed file.
  bool selectFile(const QString& name);

 signals:
  void fileClicked(const QString& name);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Refresh();

  QString folder_;
  QString pattern_ = QStringLiteral("*.*");
  QFileSystemWatcher* watcher_;
};

}  // namespace parquill::ui
