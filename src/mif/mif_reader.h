#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/line_reader.h"

namespace parquill {

// How a MIF file's regions are read. The lot-number attachment (and the map
// that shows its regions) and the SIMA conversion read the same file by
// different rules; each rule is one choice here.
struct MifRules {
  // A region starts at any line that contains "REGION" as written; otherwise
  // at a line that starts with "REGION" in any letter case.
  bool regionAnywhere = false;
  // A line that starts with "DELIMITER" (any case) names the MID file's
  // delimiter: the text between its first two double quotes (error 5 without
  // them). Otherwise the line is passed over like any other.
  bool readsDelimiter = false;
  // The point count is rounded to 16 bits (error 6 beyond; a negative count
  // gives an empty ring); otherwise to 32 bits (error 6 beyond, error 9 when
  // negative).
  bool count16Bits = false;
  // A ring with more points raises error 9 once the line of the first point
  // too many is read; 0: no limit.
  int ringCapacity = 0;
  // Each value is rounded to five decimals.
  bool roundsToFiveDecimals = false;
  // X and Y are exchanged (the window's X/Y exchange box).
  bool swap = false;

  // The lot-number attachment's rules: a ring of at most kRingCapacity points,
  // the values as written.
  static MifRules Attachment();
  // The SIMA conversion's rules, with the X/Y exchange chosen.
  static MifRules Conversion(bool swap);
};

// The first ring of a region.
struct MifRing {
  std::int32_t count = 0;  // as the count line gives it
  std::vector<double> x;   // the points read, in file order
  std::vector<double> y;
};

// Reads the regions of a MIF file one after the other: a region's header
// line, its point count on the next line, then one line per point of its
// first ring. The lines after the ring (further rings, pens, brushes) are
// passed over until the next header. A point line is cut at its first blank:
// the text before it is X, the text after it up to the next blank Y, each
// read by the number rule; a line without a blank raises error 9. The end of
// the file inside a region raises error 62, a missing file error 53.
class MifReader {
 public:
  MifReader(const std::string& path, const MifRules& rules);

  // Reads on to the next region's header and its point count; false at the
  // end of the file. The ring's points are then read one by one by
  // NextPoint(), count() times.
  bool NextRegion();
  std::int32_t count() const { return count_; }
  // Reads the next point line of the region's ring.
  void NextPoint(double& x, double& y);

  // Reads the next region and all the points of its first ring; false at the
  // end of the file.
  bool NextRing(MifRing& ring);

  // The MID file's delimiter as the "Delimiter" lines read so far name it
  // (a tab without one).
  const std::string& delimiter() const { return delimiter_; }

 private:
  bool IsRegionHeader(std::string_view line);

  LineReader lines_;
  MifRules rules_;
  std::string delimiter_ = "\t";
  std::int32_t count_ = 0;
  std::int32_t pointsRead_ = 0;
};

}  // namespace parquill
