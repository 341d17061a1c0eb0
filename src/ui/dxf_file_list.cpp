#include "ui/dxf_file_list.h"

#include <QDir>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace parquill::ui {

DxfFileList::DxfFileList(QWidget* parent)
    : QListWidget(parent), watcher_(new QFileSystemWatcher(this)) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Refresh(); });
  connect(this, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
}

void DxfFileList::setFolder(const QString& folder) {
  if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
  folder_ = folder;
  if (QDir(folder_).exists()) watcher_->addPath(folder_);
  clear();
  Refresh();
}

void DxfFileList::setPattern(const QString& pattern) {
  pattern_ = pattern;
  Refresh();
}

bool DxfFileList::selectFile(const QString& name) {
  const QList<QListWidgetItem*> found = findItems(name, Qt::MatchExactly);
  if (found.isEmpty()) return false;
  setCurrentItem(found.first());
  return true;
}

void DxfFileList::keyPressEvent(QKeyEvent* event) {
  const bool choose = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                      event->key() == Qt::Key_Enter;
  if (choose && event->modifiers() == Qt::NoModifier && currentItem() != nullptr) {
    currentItem()->setSelected(true);
    emit fileClicked(currentItem()->text());
    return;
  }
  const int before = currentRow();
  QListWidget::keyPressEvent(event);
  if (currentRow() != before && currentItem() != nullptr) emit fileClicked(currentItem()->text());
}

void DxfFileList::Refresh() {
  const QString chosen = currentItem() != nullptr ? currentItem()->text() : QString();
  const QSignalBlocker quiet(this);
  clear();
  if (folder_.isEmpty()) return;
  // QDir matches name filters without regard to letter case.
  const QDir dir(folder_, pattern_, QDir::Name | QDir::IgnoreCase, QDir::Files);
  addItems(dir.entryList());
  if (!chosen.isEmpty()) selectFile(chosen);
}

}  // namespace parquill::ui
