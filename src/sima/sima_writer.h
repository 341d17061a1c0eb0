#pragma once

#include "base/step_outcome.h"
#include "geometry/lot_model.h"

// The SIMA common-format file of the lots, for every source.
namespace parquill {

class TextFileWriter;

// Writes the header and comment records, every boundary point of the model
// (A01, by its name or "K" and its number), then each lot by its exterior
// ring: its comment, its head (D00, closed when the ring's last point is
// within the tolerance of its first), one B01 per point (the closing point
// left out when the ring closes) and its end. A lot number's "," becomes
// "，" and its double quotes are left out, so that no field is cut.
// `swap`: the X field takes the model's y (north) and the Y field its x.
// The host, when given, is let through once at the start and once per lot,
// after the lot's number is shown.
void WriteLotsSima(TextFileWriter& sima, const LotModel& lots, bool swap, StepHost* host = nullptr);

}  // namespace parquill
