#include "ui/zone_chooser.h"

#include "mif/plane_zone.h"

namespace parquill::ui {

QString ZoneName(int zone) { return QString::fromStdString(PlaneZoneName(zone)); }

ZoneChooser::ZoneChooser(QWidget* parent) : QComboBox(parent) {
  for (int zone = kNoPlaneZone; zone <= kLastPlaneZone; ++zone) addItem(ZoneName(zone));
  setCurrentIndex(kNoPlaneZone);
}

void ZoneChooser::SetZone(int zone) { setCurrentIndex(IsPlaneZone(zone) ? zone : kNoPlaneZone); }

}  // namespace parquill::ui
