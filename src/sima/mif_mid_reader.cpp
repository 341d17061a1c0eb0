#include "sima/mif_mid_reader.h"

#include <algorithm>
#include <array>
#include <limits>

#include "sima/conversion_messages.h"
#include "sima/mif_line_rules.h"
#include "survey/survey.h"
#include "text/line_reader.h"
#include "text/runtime_error.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace parquill {
namespace {

// The most point lines read at once before their points are taken.
constexpr std::int32_t kPointRun = 64;

}  // namespace

std::optional<Message> ReadMifPoints(const std::string& mifPath, StepHost& host, PointTable& points,
                                     MifReading& reading, GrowingFile* growing) {
  LineReader mif = growing != nullptr ? LineReader(mifPath, *growing) : LineReader(mifPath);
  std::array<double, kPointRun> runX;
  std::array<double, kPointRun> runY;
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
    if (reading.regionCount == std::numeric_limits<int>::max()) throw RuntimeError(kOverflow);
    const bool numbering = reading.regionsNumbered == reading.regionCount &&
                           reading.regionStarts.size() < MifReading::kRegionStartsKept &&
                           count <= kRingCapacity;
    ++reading.regionCount;
    if (reading.regionStarts.size() < MifReading::kRegionStartsKept) {
      reading.regionStarts.push_back(
          {at, before, count, static_cast<std::uint32_t>(reading.pointNumbers.size())});
    }
    // The points are taken in file order, the swap box read for each; the
    // lines of the region builder's shape are read a run at a time first.
    Coordinate first;
    Coordinate last;
    auto take = [&](Coordinate c) {
      int k = points.Find(c.x, c.y);
      if (k == 0) k = points.Add(c.x, c.y);
      if (k == 0) return false;
      if (numbering) {
        if (reading.pointNumbers.size() == reading.regionStarts.back().firstNumber) first = c;
        last = c;
        reading.pointNumbers.push_back(static_cast<std::int16_t>(k));
      }
      return true;
    };
    std::int32_t j = 1;
    while (j <= count) {
      const std::int32_t run = std::min(count - j + 1, kPointRun);
      const std::int32_t taken = mif.TakeUsualPointLines(run, runX.data(), runY.data());
      for (std::int32_t i = 0; i < taken; ++i) {
        Coordinate c{runX[static_cast<std::size_t>(i)], runY[static_cast<std::size_t>(i)]};
        if (host.SwapTicked()) survey::dswap(c.x, c.y);
        if (!take(c)) return TooManyPointsMessage();
      }
      j += taken;
      if (taken == run) continue;
      if (!take(RequireCoordinate(mif, host.SwapTicked()))) return TooManyPointsMessage();
      ++j;
    }
    if (numbering) {
      reading.regionStarts.back().closed = count == 0 || RingCloses(first, last);
      ++reading.regionsNumbered;
    }
  }
  return std::nullopt;
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
