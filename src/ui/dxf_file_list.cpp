#include "ui/dxf_file_list.h"

#include <QDir>

namespace parquill::ui {

DxfFileList::DxfFileList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
}

void DxfFileList::setFolder(const QString& folder) {
  folder_ = folder;
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
  const int before = currentRow();
  QListWidget::keyPressEvent(event);
  if (currentRow() != before && currentItem() != nullptr) emit fileClicked(currentItem()->text());
}

void DxfFileList::Refresh() {
  clear();
  if (folder_.isEmpty()) return;
  // QDir matches name filters without regard to letter case.
  const QDir dir(folder_, pattern_, QDir::Name | QDir::IgnoreCase, QDir::Files);
  addItems(dir.entryList());
}

}  // namespace parquill::ui
