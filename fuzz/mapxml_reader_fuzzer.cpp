// The 地図XML reader on any bytes, given to it in parts of a size set by the
// first byte, then the lots made from what it read and the three files
// written. A file is either refused with a MapXmlError or gives closed rings.
#include <algorithm>

#include "base/output_file_names.h"
#include "input_files.h"
#include "mapxml/mapxml_error.h"
#include "mapxml/mapxml_lots.h"
#include "mapxml/mapxml_outputs.h"
#include "mapxml/mapxml_reader.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t part = 1 + data[0] % 64;
  const std::string_view bytes = fuzz::Bytes(data + 1, size - 1);
  std::size_t at = 0;
  try {
    const mapxml::MapXmlDocument document = mapxml::ReadMapXml([&](char* buffer, std::size_t room) {
      const std::size_t n = std::min({room, part, bytes.size() - at});
      bytes.copy(buffer, n, at);
      at += n;
      return n;
    });
    const mapxml::MapLots lots = mapxml::MakeLots(document, (data[0] & 64) != 0);
    for (const mapxml::LotRing& ring : lots.rings) {
      const mapxml::RingPoint& first = lots.points[ring.firstPoint];
      const mapxml::RingPoint& last = lots.points[ring.firstPoint + ring.pointCount - 1];
      fuzz::Check(ring.pointCount > 0 && first.x == last.x && first.y == last.y,
                  "a ring that is not closed");
    }
    mapxml::MapXmlOptions options;
    options.formats = kLotSima | kLotMif | kLotDxf;
    const mapxml::OutputCounts counts = mapxml::WriteOutputs(
        document, lots, OutputFileNamesFor(fuzz::PathOf("out.Sim")), options, "fuzz.xml");
    fuzz::Check(counts.lots == static_cast<int>(lots.lots.size()), "lots lost on the way");
  } catch (const mapxml::MapXmlError& error) {
    fuzz::Check(!error.message().empty(), "a refusal without a message");
  }
  return 0;
}
