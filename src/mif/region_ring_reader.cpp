#include "mif/region_ring_reader.h"

#include "base/number_text.h"
#include "mif/plain_point_line.h"
#include "base/runtime_error.h"

namespace parquill {

bool ReadNextRegionRing(LineReader& mif, RegionRing& ring) {
  std::string_view line;
  do {
    if (!mif.Next(line)) return false;
  } while (line.find("REGION") == std::string_view::npos);

  ring.count = ToInt16(NumberFromText(mif.Require()));
  for (int j = 1; j <= ring.count; ++j) {
    const std::string_view point = mif.Require();
    if (j > RegionRing::kCapacity) throw RuntimeError(kSubscriptOutOfRange);
    if (ReadPlainPointLine(point, ring.x[static_cast<std::size_t>(j)],
                           ring.y[static_cast<std::size_t>(j)])) {
      continue;  // a plain shape, read at once
    }
    // The line is cut at every blank: the first field is X, the second Y.
    std::size_t blank = point.find(' ');
    if (blank == std::string_view::npos) throw RuntimeError(kSubscriptOutOfRange);
    std::string_view rest = point.substr(blank + 1);
    ring.x[static_cast<std::size_t>(j)] = NumberFromText(point.substr(0, blank));
    ring.y[static_cast<std::size_t>(j)] = NumberFromText(rest.substr(0, rest.find(' ')));
  }
  return true;
}

}  // namespace parquill
