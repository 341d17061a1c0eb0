#include "ui/zone_chooser.h"

namespace parquill::ui {

QString ZoneName(int zone) {
  return IsZone(zone) ? QStringLiteral("%1系").arg(zone) : QStringLiteral("指定なし");
}

ZoneChooser::ZoneChooser(QWidget* parent) : QComboBox(parent) {
  for (int zone = kNoZone; zone <= kLastZone; ++zone) addItem(ZoneName(zone));
  setCurrentIndex(kNoZone);
}

void ZoneChooser::SetZone(int zone) { setCurrentIndex(IsZone(zone) ? zone : kNoZone); }

}  // namespace parquill::ui
