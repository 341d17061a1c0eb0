#pragma once

#include <string>

#include "geometry/lot_model.h"
#include "mif/plane_zone.h"

namespace parquill {

class TextFileWriter;

// Where the lots of a MIF file stand: a plane zone on its datum; without
// one, a drawing's plain earth system, or a metre grid around the lots for
// a map in its own coordinates (任意座標系).
struct MifPlace {
  int zone = kNoPlaneZone;
  PlaneDatum datum = PlaneDatum::kJgd2011;
  bool localGrid = false;
};

// The coordinate system line of the lots' MIF header.
std::string MifCoordinateSystemFor(const LotModel& lots, const MifPlace& place);

// The MIF file: the header (version, character set, delimiter, coordinate
// system, the ID column and the model's columns, each character column as
// declared or as wide as its longest value), then one "REGION n" per lot
// with every ring, one point line each.
void WriteLotsMif(TextFileWriter& mif, const LotModel& lots, const MifPlace& place);

// The MID file: one line per lot, its number from 1, then each value after
// a ",". A value holding "," or a double quote is written in double quotes,
// each double quote doubled, as MapInfo quotes a character field; any other
// as it is.
void WriteLotsMid(TextFileWriter& mid, const LotModel& lots);

}  // namespace parquill
