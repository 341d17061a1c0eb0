#pragma once

#include "base/output_file_names.h"
#include "geometry/lot_model.h"
#include "mapxml/mapxml_conversion.h"
#include "mapxml/mapxml_document.h"
#include "mapxml/mapxml_lots.h"
#include "mif/plane_zone.h"

namespace parquill::mapxml {

struct OutputCounts {
  int lots = 0;       // written, one D00 lot and one MIF region each
  int points = 0;     // A01 points of the SIMA file
  int withHoles = 0;  // lots whose SIMA lot is their exterior ring only
};

// Writes the files of one 地図XML file in the formats of `options` (the
// lots it asks for, or every lot), which appear together once all are
// complete, or not at all:
// - SIMA (CP932, CR LF): every point of the lots' exterior rings once, numbered
//   in the order of first use and named by its 点番名 where that name is
//   given to that point only (else K + number), X north and Y east as the
//   file gives them; then one D00 lot per lot, named by its 地番, with one
//   B01 line per point of its exterior ring (the closing point not repeated).
// - MIF: one region per lot with all its rings, x east and y north, in the
//   file's plane zone on the datum of `options` (a plain metre grid without
//   a zone).
// - MID: ID, 地番 and the lot's names, accuracy and kind of coordinates.
// - DXF: the lots, their numbers and points (lot_dxf_writer.h), with the
//   source (the input's name) and the registry's attribution.
// The SIMA points' 点番名 with a "," are not used; a point without a name
// of its own is K + its number, or K + a number past the last point when the
// file gives that name to another point. Lot numbers asked for that the file
// does not hold raise a MapXmlError naming them; nothing is written then.
OutputCounts WriteOutputs(const MapXmlDocument& document, const MapLots& lots,
                          const OutputFileNames& names, const MapXmlOptions& options,
                          const std::string& source);

// The municipality as the registry's terms name it: its prefecture (from
// the first two digits of its code), then its name ("鹿児島県熊毛郡屋久島町").
std::string MunicipalityOf(const MapXmlDocument& document);

// The lots of the file as the writers take them: x east and y north, the
// columns ID, 地番 and the lot's names, accuracy and kind of coordinates, and
// the SIMA points numbered in the order of first use, named as above.
LotModel MapXmlLotModel(const MapXmlDocument& document, const MapLots& lots);

}  // namespace parquill::mapxml
