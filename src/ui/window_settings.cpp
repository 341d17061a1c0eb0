#include "ui/window_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "mif/plane_zone.h"
#include "ui/zone_chooser.h"

namespace parquill::ui {
namespace {

const QString kLastFolder = QStringLiteral("files/lastFolder");
const QString kPlaneZone = QStringLiteral("sidePanel/planeZone");
const QString kDatum = QStringLiteral("conversion/datum");
const QString kMillimetreUnits = QStringLiteral("conversion/millimetreUnits");

}  // namespace

QString StartingFolder() {
  const QString last = QSettings().value(kLastFolder).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  return QDir::currentPath();
}

void RememberFolder(const QString& folder) {
  if (QFileInfo(folder).isDir()) QSettings().setValue(kLastFolder, folder);
}

int RememberedPlaneZone() {
  const int zone = QSettings().value(kPlaneZone, kNoPlaneZone).toInt();
  return IsPlaneZone(zone) ? zone : kNoPlaneZone;
}

void RememberPlaneZone(int zone) { QSettings().setValue(kPlaneZone, zone); }

PlaneDatum RememberedDatum() {
  const QString name = QSettings().value(kDatum).toString();
  return name == QLatin1String(PlaneDatumName(PlaneDatum::kJgd2000)) ? PlaneDatum::kJgd2000
                                                                     : PlaneDatum::kJgd2011;
}

void RememberDatum(PlaneDatum datum) {
  QSettings().setValue(kDatum, QLatin1String(PlaneDatumName(datum)));
}

bool RememberedMillimetreUnits() { return QSettings().value(kMillimetreUnits, false).toBool(); }

void RememberMillimetreUnits(bool millimetres) {
  QSettings().setValue(kMillimetreUnits, millimetres);
}

}  // namespace parquill::ui
