#pragma once

#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "geometry/lot_model.h"
#include "mif/lot_mif_writer.h"

// Writing the files of a lot model (a whole map, or the lots chosen from it
// with lot_selection.h): SIMA, MIF/MID and DXF, as the user picks them.
//
//   LotFileChoices files;
//   files.output = "/site/123-4.Sim";  // MIF, MID and DXF beside it: 123-4.MIF ...
//   files.formats = kLotSima | kLotMif | kLotDxf;
//   files.millimetres = true;          // the DXF in millimetres (Jw_cad)
//   files.place = {zone, datum, false};
//   files.source = "46505-3411-1.xml";
//   files.attribution = "鹿児島県熊毛郡屋久島町";  // a 地図XML file's 市区町村名
//   Outcome outcome = WriteLotFiles(lots, files);
// The files chosen appear together once all are complete, or none does.
namespace parquill {

enum LotFormat : unsigned {
  kLotSima = 1,
  kLotMif = 2,  // with its MID file
  kLotDxf = 4,
};

struct LotFileChoices {
  std::string output;  // the SIMA file's path; the others take its name
  unsigned formats = kLotSima | kLotMif;
  bool swapXY = true;        // SIMA X north, Y east
  bool millimetres = false;  // DXF coordinates and heights in millimetres
  MifPlace place;            // the MIF file's coordinate system
  std::string source;        // the input, named in the DXF file's comment
  std::string attribution;   // a registry map's 市区町村名: its source line
};

// The DXF file's path for a SIMA path: its name up to its last "." and "DXF".
std::string DxfPathFor(const std::string& simaPath);

// The paths of the files of the formats, in the order SIMA, MIF, MID, DXF.
std::vector<std::string> LotFilePaths(const std::string& simaPath, unsigned formats);

// Writes the chosen files; a run-time error (a full disk) raises and leaves
// every named file as it was.
void WriteChosenLotFiles(const LotModel& lots, const LotFileChoices& choices);
// The same, the error trapped under "PARQUILL".
Outcome WriteLotFiles(const LotModel& lots, const LotFileChoices& choices);

}  // namespace parquill
