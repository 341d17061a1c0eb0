#include "ui/whole_controls.h"

#include "ui/caption_label.h"
#include "ui/control_layout.h"

namespace parquill::ui {

QStringList ControlsNotWhole(const QWidget& window, int leastMapWidth) {
  static const char* const kControls[] = {
      "Drive1",   "Dir1",     "File1",     "Label1",      "Frame4",      "Op2_1",     "Text7",
      "Op2_2",    "Text8",    "Frame1",    "List1",       "Check1",      "Text1",     "Command1",
      "Command2", "Command3", "FitButton", "ZoneCaption", "ZoneChooser", "ResultLine"};
  QStringList problems;
  const auto* map = window.findChild<const QWidget*>(QStringLiteral("MapPreview"));
  const QRect mapPlace = map != nullptr ? map->geometry() : QRect();
  if (map != nullptr && map->width() < leastMapWidth) {
    problems << QStringLiteral("MapPreview: %1 pixels wide").arg(map->width());
  }
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
    if (control->parentWidget() == &window && control != map && place.intersects(mapPlace) &&
        place.left() < mapPlace.left()) {
      problems << QStringLiteral("%1: reaches into the map").arg(name);
    }
    if (const auto* caption = qobject_cast<const CaptionLabel*>(control)) {
      if (caption->Lines().size() > Sentences(caption->text()).size()) {
        problems << QStringLiteral("%1: a sentence wraps").arg(name);
      }
    }
  }
  return problems;
}

}  // namespace parquill::ui
