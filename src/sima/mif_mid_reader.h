#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mif/written_regions.h"
#include "sima/lot_table.h"
#include "sima/point_table.h"
#include "base/growing_file.h"
#include "base/step_outcome.h"

// The first reading of a MIF/MID pair: the distinct boundary points, the
// number of regions and one lot number per region.
namespace parquill {

// Where a region's header line lies in the MIF file and how many points its
// first ring has: what a later reading needs to start at that region.
struct RegionStart {
  std::int64_t offset = 0;  // in bytes, of the header line
  std::int64_t linesBefore = 0;
  std::int32_t pointCount = 0;
  // Of a numbered region (see MifReading::regionsNumbered): where the numbers
  // of its ring's points start in MifReading::pointNumbers, and whether its
  // last point repeats its first.
  std::uint32_t firstNumber = 0;
  bool closed = true;
};

// What the MIF file gives besides its points.
struct MifReading {
  // The most regions whose starts are kept (a SIMA file holds 2000 lots).
  static constexpr std::size_t kRegionStartsKept = 2001;

  int regionCount = 0;
  std::string delimiter = "\t";           // of the MID file, as the "Delimiter" line names it
  std::vector<RegionStart> regionStarts;  // of the first kRegionStartsKept regions
  // The number the table found or gave each point of the first ring, ring
  // after ring, for the first `regionsNumbered` regions: the numbers a search
  // of the finished table gives those points, since a point added later never
  // has a lower number. The numbering stops before a region whose start is
  // not kept or whose ring is longer than kRingCapacity.
  std::vector<std::int16_t> pointNumbers;
  int regionsNumbered = 0;
};

// Reads the MIF file once: every point of the first ring of each region that
// is not yet in `points` (within the tolerance) is added, in file order.
// Returns the message to show when the point table overflows. The swap box is
// read anew for every point line. Run-time errors: a missing file 53, the end
// of the file inside a region 62, a bad point line 9, a bad delimiter line 5.
// With `growing`, the file is read while its writer is still writing it.
std::optional<Message> ReadMifPoints(const std::string& mifPath, StepHost& host, PointTable& points,
                                     MifReading& reading, GrowingFile* growing = nullptr);

// The same reading from the regions as the region builder wrote them, the
// file's lines being those the builder wrote (a header line that contains no
// region header, then per region its header, count and point lines), which
// reads exactly these points. Waits for the regions while they are written.
// False when the builder gave them up (the file must then be read); true
// otherwise, `message` then holding the message ReadMifPoints returns.
bool ReadWrittenMifPoints(const WrittenRegions& written, StepHost& host, PointTable& points,
                          MifReading& reading, std::optional<Message>& message);

// Reads the MID file: each line is cut at the delimiter; a line whose first
// field is empty is skipped; the second field, trimmed and without its double
// quotes, is the next lot number. Returns the message to show when the lot
// table overflows. An empty line or a line without the delimiter raises 9.
std::optional<Message> ReadMidLots(const std::string& midPath, std::string_view delimiter,
                                   LotTable& lots);

}  // namespace parquill
