#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "sima/lot_table.h"
#include "sima/point_table.h"

// The SIMA common-format file, written from the point table and the lots'
// rings as the reading of the MIF file numbered them.
namespace parquill {

// The first ring of each region, by the numbers its points found or got in
// the point table, in the reading that fills the table. These are the
// numbers a search of the finished table gives them: a point added later
// never has a lower number. Only the rings the SIMA file can take are kept:
// those of the first regions, up to the first ring too long to be written
// (kept without its points) or to the first region beyond the lot table.
class LotRings {
 public:
  struct Ring {
    std::int32_t count = 0;  // its points, as its count line gives them
    bool closed = true;      // its last point repeats its first; an empty ring counts as closed
    std::size_t firstNumber = 0;  // where its points' numbers start in numbers()
  };

  // The next region, whose ring has `count` points.
  void Begin(std::int32_t count);
  // The ring's next point: found in the table, or added to it. False when
  // the table is full.
  bool Take(double x, double y, PointTable& points);
  void End();

  int regionCount() const { return regionCount_; }
  const std::vector<Ring>& rings() const { return rings_; }
  const std::vector<std::int16_t>& numbers() const { return numbers_; }

 private:
  std::vector<Ring> rings_;
  std::vector<std::int16_t> numbers_;
  int regionCount_ = 0;
  bool keeping_ = false;  // the current region's ring is kept with its points
  double firstX_ = 0;
  double firstY_ = 0;
  double lastX_ = 0;
  double lastY_ = 0;
};

// Writes the SIMA file at `simaPath` (created, or emptied): the header and
// comment records, every point of the table, then per region its comment, its
// head, one B01 line per point of its ring (the closing point left out when
// it repeats the first) and its end. The host is let through once after the
// file is opened and once per region, after the region's number is shown.
// Returns the message to show when a ring is too long; the file then ends
// with the last line written, as it does after a run-time error (a region
// beyond the lot table raises error 9). `lotsWithNumber` receives the number
// of regions written with a lot number.
std::optional<Message> WriteSimaFile(const std::string& simaPath, const PointTable& points,
                                     const LotRings& rings, const LotTable& lots, StepHost& host,
                                     int& lotsWithNumber);

}  // namespace parquill
