#include "ui/window_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "ui/zone_chooser.h"

namespace parquill::ui {
namespace {

const QString kLastFolder = QStringLiteral("files/lastFolder");
const QString kPlaneZone = QStringLiteral("sidePanel/planeZone");

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
  const int zone = QSettings().value(kPlaneZone, kNoZone).toInt();
  return IsZone(zone) ? zone : kNoZone;
}

void RememberPlaneZone(int zone) { QSettings().setValue(kPlaneZone, zone); }

}  // namespace parquill::ui
