#pragma once

#include <functional>
#include <string>
#include <vector>

#include "convert/lot_files.h"
#include "convert/lot_selection.h"
#include "mif/plane_zone.h"

namespace parquill::mapxml {

struct MapXmlOptions {
  std::string outputFolder = ".";
  bool includeOutside = false;  // keep the lots numbered 地区外… and 別図…
  PlaneDatum datum = PlaneDatum::kJgd2011;
  bool report = false;  // a line for every lot left out and every lot with holes
  LotQuery site;        // with lot numbers: only those lots (and their neighbours)
  unsigned formats = kLotSima | kLotMif;
  bool millimetres = false;  // the DXF file in millimetres
};

// What the conversion of one 地図XML file gave: its summary line, or the one
// line that says why it could not be read (nothing was written then), and
// with --report the lines about its lots.
struct MapXmlFileOutcome {
  bool failed = false;
  std::string line;
  std::vector<std::string> findings;
};

struct MapXmlTotals {
  int files = 0;
  int failed = 0;
  int lots = 0;
  int leftOut = 0;
  int points = 0;
  int withHoles = 0;
};

// Converts every 地図XML file of the inputs (files, ZIPs, folders), each to
// NAME.Sim, NAME.MIF and NAME.MID in the output folder (NAME its own file
// name up to its first "."), one after the other; a file that cannot be read
// is passed to `take` as failed, nothing is written for it, and the others go
// on. Only one file's data is held at a time.
MapXmlTotals ConvertMapXml(const std::vector<std::string>& inputs, const MapXmlOptions& options,
                           const std::function<void(const MapXmlFileOutcome&)>& take);

// "合計: 地図XML 2（失敗 0）、筆 3（除外 6）、筆界点 …"
std::string TotalsLine(const MapXmlTotals& totals);

}  // namespace parquill::mapxml
