#pragma once

#include <string>
#include <vector>

#include "mapxml/mapxml_document.h"
#include "mapxml/mapxml_lots.h"

// The texts of a 地図XML file that Shift-JIS (CP932), the encoding of the
// SIMA, MIF and MID files, cannot hold whole: each character it lacks is
// written as "?".
namespace parquill::mapxml {

// How many characters of `text` (UTF-8) CP932 lacks.
int CharactersOutsideShiftJis(const std::string& text);

struct ShiftJisLoss {
  std::string what;  // "筆 𠮷野5-6（12 行目）" or "筆界点 𠮷1"
  int characters = 0;
};

// The lots written whose attributes hold such characters, then the point
// names written to the SIMA file that do (those of the lots' exterior
// rings, given to one point only and without a comma), in file order.
std::vector<ShiftJisLoss> FindShiftJisLosses(const MapXmlDocument& document, const MapLots& lots);

}  // namespace parquill::mapxml
