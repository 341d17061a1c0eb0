#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "geometry/lot_selection.h"
#include "mapxml/mapxml_error.h"
#include "mapxml/mapxml_reader.h"
#include "mif/plane_zone.h"
#include "sima/lot_files.h"

namespace parquill::mapxml {

struct MapXmlOptions {
  std::string outputFolder = ".";
  bool includeOutside = false;  // keep the lots numbered 地区外… and 別図…
  PlaneDatum datum = PlaneDatum::kJgd2011;
  bool report = false;  // a line for every lot left out and every lot with holes
  LotQuery site;        // with lot numbers: only those lots (and their neighbours)
  unsigned formats = kLotSima | kLotMif;
  bool millimetres = false;  // the DXF file in millimetres
  int jobs = 1;              // files converted at once
  bool resume = false;       // pass over a file whose outputs are all newer than it
  // Once set (by Ctrl+C), no file begins and the batch ends with the files
  // being converted, each written whole.
  const std::atomic<bool>* interrupted = nullptr;
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
  int skipped = 0;  // passed over by resume: their outputs were newer
  long long lots = 0;
  long long leftOut = 0;
  long long points = 0;
  long long withHoles = 0;
  long long misshapen = 0;    // lots whose rings enclose no area, cross or hold a hole outside
  long long unencodable = 0;  // characters outside Shift-JIS, written as "?"
  bool interrupted = false;   // the batch ended before its last file

  void Add(const MapXmlTotals& file);
};

// How far a batch is: files done (converted, failed or passed over) of the
// files found or expected, and the lots written.
struct MapXmlProgress {
  int done = 0;
  int total = 0;
  long long lots = 0;
};

// Converts every 地図XML file of the inputs (files, ZIPs, folders), each to
// NAME.Sim, NAME.MIF and NAME.MID in the output folder at its path below
// its input (NAME its own file name up to its first "."), `options.jobs`
// files at once; a file that cannot be read is passed to `take` as failed,
// nothing is written for it, and the others go on. `take` and `progress`
// are called on the caller's thread, `take` once per file in the order of
// the inputs, `progress` after each file and about every second. Each
// file being converted holds its own data; no file is held whole.
MapXmlTotals ConvertMapXml(const std::vector<std::string>& inputs, const MapXmlOptions& options,
                           const std::function<void(const MapXmlFileOutcome&)>& take,
                           const std::function<void(const MapXmlProgress&)>& progress = {});

// Converts one 地図XML file, read from `source`, to the SIMA file `sima`
// (relative to the output folder) and its MIF and MID files beside it;
// `relativePath` names the file in the outcome. `counts` gets the file's
// figures. A file that cannot be converted raises a MapXmlError.
MapXmlFileOutcome ConvertMapXmlFile(const std::string& relativePath, const std::string& sima,
                                    const ByteSource& source, const MapXmlOptions& options,
                                    MapXmlTotals& counts);

// The line of a file that could not be converted: "WHERE: N 行目: WHY".
std::string MapXmlFailureLine(const std::string& where, const MapXmlError& error);

// "合計: 地図XML 2（失敗 0）、筆 3（除外 6）、筆界点 …"
std::string TotalsLine(const MapXmlTotals& totals);

}  // namespace parquill::mapxml
