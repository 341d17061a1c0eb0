#pragma once

#include <QListWidget>

#include "convert/layer_list_step.h"
#include "dxf/layer_selection.h"

namespace parquill::ui {

// The layer list: several items can be selected, a click (or the space bar)
// toggles the item's selection and raises itemToggled. Each item keeps the
// layer name exactly as the drawing gave it, beside the text it shows.
class LayerListWidget : public QListWidget {
  Q_OBJECT

 public:
  explicit LayerListWidget(QWidget* parent = nullptr);

  void AddLayer(const std::string& name);
  // The items, their selection and the current item, names as the drawing gave them.
  LayerSelection Selection() const;

 signals:
  void itemToggled();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// The layer list reader's view of the layer list.
class LayerListSinkOverWidget : public LayerListSink {
 public:
  explicit LayerListSinkOverWidget(LayerListWidget& list) : list_(list) {}
  void Clear() override { list_.clear(); }
  void Add(const std::string& item) override { list_.AddLayer(item); }

 private:
  LayerListWidget& list_;
};

}  // namespace parquill::ui
