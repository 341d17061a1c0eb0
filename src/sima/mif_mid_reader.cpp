#include "sima/mif_mid_reader.h"

#include <algorithm>
#include <array>
#include <limits>

#include "sima/conversion_messages.h"
#include "sima/mif_line_rules.h"
#include "geometry/survey.h"
#include "base/line_reader.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "base/trim.h"

namespace parquill {
namespace {

// What the first reading keeps of one region after another: its start, and
// the numbers its ring's points find or get in the table.
class RegionNumbering {
 public:
  RegionNumbering(PointTable& points, MifReading& reading) : points_(points), reading_(reading) {}

  // A region's header line at byte `at`, after `before` lines, and its ring
  // of `count` points.
  void Begin(std::int64_t at, std::int64_t before, std::int32_t count) {
    if (reading_.regionCount == std::numeric_limits<int>::max()) throw RuntimeError(kOverflow);
    numbering_ = reading_.regionsNumbered == reading_.regionCount &&
                 reading_.regionStarts.size() < MifReading::kRegionStartsKept &&
                 count <= kRingCapacity;
    count_ = count;
    taken_ = 0;
    ++reading_.regionCount;
    if (reading_.regionStarts.size() < MifReading::kRegionStartsKept) {
      reading_.regionStarts.push_back(
          {at, before, count, static_cast<std::uint32_t>(reading_.pointNumbers.size())});
    }
  }
  // The ring's next point; false when the table is full.
  bool Take(Coordinate c) {
    const int k = points_.FindOrAdd(c.x, c.y);
    if (k == 0) return false;
    if (numbering_) {
      if (taken_ == 0) first_ = c;
      last_ = c;
      reading_.pointNumbers.push_back(static_cast<std::int16_t>(k));
    }
    ++taken_;
    return true;
  }
  void End() {
    if (!numbering_) return;
    reading_.regionStarts.back().closed = count_ == 0 || RingCloses(first_, last_);
    ++reading_.regionsNumbered;
  }

 private:
  PointTable& points_;
  MifReading& reading_;
  bool numbering_ = false;
  std::int32_t count_ = 0;
  std::int32_t taken_ = 0;
  Coordinate first_;
  Coordinate last_;
};

}  // namespace

std::optional<Message> ReadMifPoints(const std::string& mifPath, StepHost& host, PointTable& points,
                                     MifReading& reading, GrowingFile* growing) {
  LineReader mif = growing != nullptr ? LineReader(mifPath, *growing) : LineReader(mifPath);
  RegionNumbering numbering(points, reading);
  std::string_view line;
  for (std::int64_t at = mif.NextLineOffset(), before = mif.lineNumber(); mif.Next(line);
       at = mif.NextLineOffset(), before = mif.lineNumber()) {
    if (StartsWithKeyword(line, "DELIMITER")) {
      reading.delimiter = DelimiterFromLine(line);
      continue;
    }
    if (!StartsWithKeyword(line, "REGION")) continue;
    // Only the first ring of a region is read; the rings after it are passed
    // over with the other lines.
    std::int32_t count = ReadRingPointCount(mif);
    numbering.Begin(at, before, count);
    // The points are taken in file order, the swap box read for each.
    for (std::int32_t j = 1; j <= count; ++j) {
      if (!numbering.Take(RequireCoordinate(mif, host.SwapTicked()))) {
        return TooManyPointsMessage();
      }
    }
    numbering.End();
  }
  return std::nullopt;
}

bool ReadWrittenMifPoints(const WrittenRegions& written, StepHost& host, PointTable& points,
                          MifReading& reading, std::optional<Message>& message) {
  RegionNumbering numbering(points, reading);
  WrittenRegions::Region region;
  bool more = written.WaitFor(0, region);
  for (const std::string& line : written.headerLines()) {
    if (StartsWithKeyword(line, "DELIMITER")) reading.delimiter = DelimiterFromLine(line);
  }
  for (std::size_t index = 0; more; more = written.WaitFor(++index, region)) {
    numbering.Begin(region.offset, region.linesBefore, region.count);
    for (std::int32_t i = 0; i < region.count; ++i) {
      Coordinate c{region.x[i], region.y[i]};
      if (host.SwapTicked()) survey::dswap(c.x, c.y);
      if (!numbering.Take(c)) {
        message = TooManyPointsMessage();
        return true;
      }
    }
    numbering.End();
  }
  return written.complete();
}

std::optional<Message> ReadMidLots(const std::string& midPath, std::string_view delimiter,
                                   LotTable& lots) {
  LineReader mid(midPath);
  std::string_view raw;
  while (mid.Next(raw)) {
    if (raw.empty()) throw RuntimeError(kSubscriptOutOfRange);  // no field at all
    // Cut in decoded text, so a delimiter byte inside a two-byte character
    // never splits it.
    std::string text = DecodeText(raw, TextEncoding::kCp932);
    std::string_view line = text;
    std::size_t cut = delimiter.empty() ? std::string_view::npos : line.find(delimiter);
    if (cut == 0) continue;  // the region's ID is empty: the line takes no lot
    if (cut == std::string_view::npos) throw RuntimeError(kSubscriptOutOfRange);
    std::string_view rest = line.substr(cut + delimiter.size());
    std::string lot(TrimBlanks(rest.substr(0, rest.find(delimiter))));
    lot.erase(std::remove(lot.begin(), lot.end(), '"'), lot.end());
    if (lots.Add(std::move(lot)) == 0) return TooManyLotsMessage();
  }
  return std::nullopt;
}

}  // namespace parquill
