#pragma once

#include "base/output_file_names.h"
#include "geometry/lot_model.h"
#include "mapxml/mapxml_document.h"
#include "mapxml/mapxml_lots.h"
#include "mif/plane_zone.h"

namespace parquill::mapxml {

struct OutputCounts {
  int lots = 0;       // written, one D00 lot and one MIF region each
  int points = 0;     // A01 points of the SIMA file
  int withHoles = 0;  // lots whose SIMA lot is their exterior ring only
};

// Writes the three files of one 地図XML file, which appear together once all
// three are complete, or not at all:
// - SIMA (CP932, CR LF): every point of the lots' exterior rings once, numbered
//   in the order of first use and named by its 点番名 where that name is
//   given to that point only (else K + number), X north and Y east as the
//   file gives them; then one D00 lot per lot, named by its 地番, with one
//   B01 line per point of its exterior ring (the closing point not repeated).
// - MIF: one region per lot with all its rings, x east and y north, in plane
//   zone `zone` on `datum` (a plain metre grid without a zone).
// - MID: ID, 地番 and the lot's names, accuracy and kind of coordinates.
// The SIMA points' 点番名 with a "," are not used; a point without a name
// of its own is K + its number, or K + a number past the last point when the
// file gives that name to another point.
OutputCounts WriteOutputs(const MapXmlDocument& document, const MapLots& lots,
                          const OutputFileNames& names, int zone, PlaneDatum datum);

// The lots of the file as the writers take them: x east and y north, the
// columns ID, 地番 and the lot's names, accuracy and kind of coordinates, and
// the SIMA points numbered in the order of first use, named as above.
LotModel MapXmlLotModel(const MapXmlDocument& document, const MapLots& lots);

}  // namespace parquill::mapxml
