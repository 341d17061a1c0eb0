#pragma once

#include <QListWidget>
#include <functional>

namespace parquill::ui {

// The folder list: the current folder's path, one line per level from the
// root down, followed by its subfolders. A click or Enter on a line opens
// that folder (a line above the current one goes up); a double click opens it
// once. A folder that cannot be read shows no subfolders.
class FolderList : public QListWidget {
  Q_OBJECT

 public:
  explicit FolderList(QWidget* parent = nullptr);

  QString path() const { return path_; }
  // Opens `folder`; raises pathChanged when the folder changes.
  void setPath(const QString& folder);
  // Lets the user open another folder only while `mayMove` says so.
  void setMoveGuard(std::function<bool()> mayMove) { mayMove_ = std::move(mayMove); }

 signals:
  void pathChanged(const QString& folder);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Open(const QString& folder);

  void Refresh();

  QString path_;
  std::function<bool()> mayMove_ = [] { return true; };
};

}  // namespace parquill::ui
