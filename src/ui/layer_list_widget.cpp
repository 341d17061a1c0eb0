#include "ui/layer_list_widget.h"

#include <QKeyEvent>

namespace parquill::ui {
namespace {

constexpr int kLayerNameRole = Qt::UserRole;

}  // namespace

LayerListWidget::LayerListWidget(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::MultiSelection);
  connect(this, &QListWidget::itemClicked, this, [this] { emit itemToggled(); });
}

void LayerListWidget::AddLayer(const std::string& name) {
  auto* item = new QListWidgetItem(QString::fromStdString(name), this);
  item->setData(kLayerNameRole, QByteArray::fromStdString(name));
}

LayerSelection LayerListWidget::Selection() const {
  LayerSelection selection;
  for (int row = 0; row < count(); ++row) {
    const QListWidgetItem* entry = item(row);
    selection.items.push_back(entry->data(kLayerNameRole).toByteArray().toStdString());
    selection.selected.push_back(entry->isSelected());
  }
  selection.listIndex = currentRow();
  return selection;
}

void LayerListWidget::keyPressEvent(QKeyEvent* event) {
  const bool toggles =
      (event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) && currentItem() != nullptr;
  QListWidget::keyPressEvent(event);
  if (toggles) emit itemToggled();
}

}  // namespace parquill::ui
