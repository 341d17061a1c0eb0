#include "ui/control_layout.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <algorithm>

#include "ui/form_placement.h"

namespace parquill::ui {

AxisStretch::AxisStretch(std::vector<Span> spans) {
  // By far edge: when a span is stretched, everything before its near edge
  // already stands where it will stay.
  std::stable_sort(spans.begin(), spans.end(),
                   [](const Span& a, const Span& b) { return a.end < b.end; });
  for (const Span& span : spans) {
    const int missing = Map(span.start) + span.least - Map(span.end);
    if (missing > 0) steps_.emplace_back(span.end, missing);
  }
}

int AxisStretch::Map(int position) const {
  int mapped = position;
  for (const auto& [at, added] : steps_) {
    if (at <= position) mapped += added;
  }
  return mapped;
}

QSize LeastSize(const QWidget& control) {
  if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) {
    const QFontMetrics metrics(frame->font());
    return QSize(metrics.horizontalAdvance(frame->title()) + 2 * metrics.height(), 0);
  }
  if (qobject_cast<const QAbstractItemView*>(&control) != nullptr) return QSize(0, 0);
  if (qobject_cast<const QLineEdit*>(&control) != nullptr ||
      qobject_cast<const QComboBox*>(&control) != nullptr) {
    return QSize(0, control.minimumSizeHint().height());
  }
  return control.sizeHint().expandedTo(control.minimumSizeHint());
}

void ControlLayout::Add(QWidget* control, QRect twips, ControlFit fit) {
  items_.push_back({control, twips, fit});
}

QSize ControlLayout::Apply(int logicalDpi) {
  QWidget* window = items_.empty() ? nullptr : items_.front().control->parentWidget();
  return window == nullptr ? QSize() : Place(window, logicalDpi);
}

QSize ControlLayout::Place(QWidget* parent, int logicalDpi) {
  std::vector<const Item*> here;
  for (const Item& item : items_) {
    if (item.control->parentWidget() == parent) here.push_back(&item);
  }
  std::vector<AxisStretch::Span> across;
  std::vector<AxisStretch::Span> down;
  for (const Item* item : here) {
    const QRect designed = TwipsRectToPixels(item->twips.x(), item->twips.y(), item->twips.width(),
                                             item->twips.height(), logicalDpi);
    QSize least = LeastSize(*item->control);
    // A frame holds its own controls whole.
    const QSize inside = Place(item->control, logicalDpi);
    if (!inside.isEmpty()) {
      least = least.expandedTo(inside + QSize(TwipsToPixels(120, logicalDpi), 4));
    }
    across.push_back({designed.left(), designed.left() + designed.width(), least.width()});
    down.push_back({designed.top(), designed.top() + designed.height(), least.height()});
  }
  const AxisStretch x(across);
  const AxisStretch y(down);
  QSize extent(0, 0);
  for (std::size_t i = 0; i < here.size(); ++i) {
    const Item& item = *here[i];
    const int left = x.Map(across[i].start);
    const int top = y.Map(down[i].start);
    const int width = x.Map(across[i].end) - left;
    int height = y.Map(down[i].end) - top;
    if (item.fit == ControlFit::kOneLine) {
      height = std::max(down[i].end - down[i].start, down[i].least);
    }
    item.control->setGeometry(left, top, width, height);
    extent = extent.expandedTo(QSize(left + width, top + height));
  }
  return here.empty() ? QSize() : extent;
}

}  // namespace parquill::ui
