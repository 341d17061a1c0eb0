#include "sima/mif_mid_reader.h"

#include <algorithm>
#include <limits>

#include "sima/conversion_messages.h"
#include "sima/mif_line_rules.h"
#include "text/line_reader.h"
#include "text/runtime_error.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace parquill {

std::optional<Message> ReadMifPoints(const std::string& mifPath, StepHost& host, PointTable& points,
                                     MifReading& reading) {
  LineReader mif(mifPath);
  std::string_view line;
  while (mif.Next(line)) {
    if (StartsWithKeyword(line, "DELIMITER")) {
      reading.delimiter = DelimiterFromLine(line);
      continue;
    }
    if (!StartsWithKeyword(line, "REGION")) continue;
    // Only the first ring of a region is read; the rings after it are passed
    // over with the other lines.
    std::int32_t count = ReadRingPointCount(mif);
    if (reading.regionCount == std::numeric_limits<int>::max()) throw RuntimeError(kOverflow);
    ++reading.regionCount;
    for (std::int32_t j = 1; j <= count; ++j) {
      Coordinate c = RequireCoordinate(mif, host.SwapTicked());
      if (points.Find(c.x, c.y) != 0) continue;
      if (points.Add(c.x, c.y) == 0) return TooManyPointsMessage();
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
