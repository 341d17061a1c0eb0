#include "mapxml/shift_jis_losses.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "base/text_codec.h"

namespace parquill::mapxml {

int CharactersOutsideShiftJis(const std::string& text) {
  return CharactersWrittenAsQuestionMarks(text, TextEncoding::kCp932);
}

std::vector<ShiftJisLoss> FindShiftJisLosses(const MapXmlDocument& document, const MapLots& lots) {
  std::vector<ShiftJisLoss> losses;
  for (const MapLot& lot : lots.lots) {
    const LotEntry& entry = document.lots[lot.entry];
    const LotAttributes& a = entry.attributes;
    int characters = 0;
    for (const std::string* text :
         {&a.chiban, &a.oaza, &a.chome, &a.koaza, &a.yobi, &a.accuracy, &a.coordinateType}) {
      characters += CharactersOutsideShiftJis(*text);
    }
    if (characters > 0) {
      losses.push_back(
          {"筆 " + a.chiban + "（" + std::to_string(entry.line) + " 行目）", characters});
    }
  }
  // Point names: only when one lacks a character are the names looked at
  // further, which points the lots use and which names two points share.
  std::vector<const PointName*> lacking;
  for (const PointName& named : document.pointNames) {
    if (document.symbols.KindOf(named.point) == Kind::kPoint &&
        named.name.find(',') == std::string::npos && CharactersOutsideShiftJis(named.name) > 0) {
      lacking.push_back(&named);
    }
  }
  if (lacking.empty()) return losses;
  std::unordered_set<std::int32_t> used;
  for (const MapLot& lot : lots.lots) {
    const LotRing& ring = lots.rings[lot.firstRing];
    for (std::uint32_t i = 0; i < ring.pointCount; ++i)
      used.insert(lots.points[ring.firstPoint + i].point);
  }
  std::unordered_map<std::string_view, std::unordered_set<Symbol>> pointsNamed;
  for (const PointName* named : lacking) pointsNamed[named->name].insert(named->point);
  for (const PointName& named : document.pointNames) {
    auto it = pointsNamed.find(named.name);
    if (it != pointsNamed.end()) it->second.insert(named.point);
  }
  std::unordered_set<std::string_view> told;
  for (const PointName* named : lacking) {
    const auto index = static_cast<std::int32_t>(document.symbols.IndexOf(named->point));
    if (!used.contains(index) || pointsNamed[named->name].size() != 1 ||
        !told.insert(named->name).second) {
      continue;
    }
    losses.push_back({"筆界点 " + named->name, CharactersOutsideShiftJis(named->name)});
  }
  return losses;
}

}  // namespace parquill::mapxml
