#include "ui/whole_controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <vector>

#include "ui/caption_label.h"

namespace parquill::ui {
namespace {

// The controls looked at, by object name.
const char* const kControls[] = {
    "Drive1",      "OpenButton",     "Dir1",          "File1",       "Label1",       "Frame4",
    "Op2_1",       "Text7",          "Op2_2",         "Text8",       "BrowseButton", "Frame1",
    "List1",       "SettingsFrame",  "Check1",        "ZoneCaption", "ZoneChooser",  "UnitCaption",
    "unitChooser", "FromLinesCheck", "RegionCaption", "Text1",       "Command1",     "Command2",
    "Command3",    "FitButton",      "ShareReadBar",  "MapPreview",  "ResultLine",   "ReportList"};

bool Encloses(const QWidget* outer, const QWidget* inner) {
  return outer != inner && outer->isAncestorOf(inner);
}

}  // namespace

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
  // A control whose text wraps needs the height of its text at its width.
  if (control.hasHeightForWidth()) {
    return QSize(control.minimumSizeHint().width(), control.heightForWidth(control.width()));
  }
  return control.sizeHint().expandedTo(control.minimumSizeHint());
}

QStringList ControlsNotWhole(const QWidget& window, int leastMapWidth) {
  QStringList problems;
  const auto* map = window.findChild<const QWidget*>(QStringLiteral("MapPreview"));
  if (map != nullptr && map->width() < leastMapWidth) {
    problems << QStringLiteral("MapPreview: %1 pixels wide").arg(map->width());
  }
  std::vector<std::pair<const QWidget*, QRect>> shown;
  for (const char* name : kControls) {
    const auto* control = window.findChild<const QWidget*>(QString::fromLatin1(name));
    if (control == nullptr || !control->isVisibleTo(&window)) continue;
    const QRect place(control->mapTo(&window, QPoint(0, 0)), control->size());
    if (!window.rect().contains(place))
      problems << QStringLiteral("%1: cut by the window").arg(name);
    const QSize least = LeastSize(*control);
    if (control->width() < least.width() || control->height() < least.height()) {
      problems << QStringLiteral("%1: %2x%3 for %4x%5")
                      .arg(name)
                      .arg(control->width())
                      .arg(control->height())
                      .arg(least.width())
                      .arg(least.height());
    }
    for (const auto& [other, otherPlace] : shown) {
      if (Encloses(other, control) || Encloses(control, other)) continue;
      if (place.intersects(otherPlace)) {
        problems << QStringLiteral("%1: over %2").arg(name, other->objectName());
      }
    }
    if (const auto* caption = qobject_cast<const CaptionLabel*>(control)) {
      if (caption->Lines().size() > Sentences(caption->text()).size()) {
        problems << QStringLiteral("%1: a sentence wraps").arg(name);
      }
    }
    shown.emplace_back(control, place);
  }
  return problems;
}

}  // namespace parquill::ui
