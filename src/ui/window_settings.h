#pragma once

#include <QString>

#include "mif/plane_zone.h"

namespace parquill::ui {

// What the window remembers from one day's work to the next, under the
// application's organisation and name: the last folder used and the
// conversion's coordinate zone and units.

// The last folder used when it still exists, otherwise the current folder.
QString StartingFolder();
void RememberFolder(const QString& folder);

// 0 (指定なし) to 19; 0 when none was remembered.
int RememberedPlaneZone();
void RememberPlaneZone(int zone);

// The datum of the zone: JGD2011 when none was remembered.
PlaneDatum RememberedDatum();
void RememberDatum(PlaneDatum datum);

// True when the drawings are in millimetres; false (metres) when none was remembered.
bool RememberedMillimetreUnits();
void RememberMillimetreUnits(bool millimetres);

}  // namespace parquill::ui
