#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sima/lot_table.h"
#include "sima/mif_line_rules.h"
#include "sima/mif_mid_reader.h"
#include "sima/point_table.h"
#include "base/step_outcome.h"

// The second reading of the MIF file, which writes the SIMA common-format file.
namespace parquill {

// What the SIMA file needs from the first reading.
struct SimaSource {
  std::string mifPath;
  const PointTable* points = nullptr;
  const LotTable* lots = nullptr;
  int regionCount = 0;
  // Where the regions start, from the first reading; with a quiet host the
  // later lots are then written ahead on a second thread.
  const std::vector<RegionStart>* regionStarts = nullptr;
  // The most bytes of lot records the second thread keeps in memory; past
  // them it stops at the next region and the first thread reads the rest.
  std::size_t bytesKeptAhead = std::size_t{8} << 20;
  // The numbers the first reading gave the ring points of its first
  // `regionsNumbered` regions (MifReading::pointNumbers). With a quiet host,
  // whose swap box cannot change, the lots are written from them when they
  // cover every ring written, and the MIF file is not read again.
  const std::vector<std::int16_t>* pointNumbers = nullptr;
  int regionsNumbered = 0;
};

// Reads the MIF file again and writes the SIMA file at `simaPath` (created, or
// emptied): the header and comment records, every point of the table, then per
// region its comment, its head, one B01 line per point of its first ring (the
// closing point left out when it repeats the first) and its end. The host is
// let through once after the files are opened and once per region, after the
// region's number is shown. Returns the message to show when a ring is too
// long or one of its points is not in the table; the file then ends with the
// last line written, as it does after a run-time error. `lotsWithNumber`
// receives the number of regions written with a lot number.
std::optional<Message> WriteSimaFile(const SimaSource& source, const std::string& simaPath,
                                     StepHost& host, int& lotsWithNumber);

}  // namespace parquill
