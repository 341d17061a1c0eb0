#include "mapxml/mapxml_document.h"

namespace parquill::mapxml {

Symbol SymbolTable::Intern(std::string_view id) {
  auto found = symbols_.find(id);
  if (found != symbols_.end()) return found->second;
  const auto symbol = static_cast<Symbol>(ids_.size());
  ids_.emplace_back(id);
  kinds_.push_back(Kind::kNone);
  indexes_.push_back(0);
  symbols_.emplace(ids_.back(), symbol);
  return symbol;
}

bool SymbolTable::Define(Symbol symbol, Kind kind, std::uint32_t index) {
  if (kinds_[symbol] != Kind::kNone) return false;
  kinds_[symbol] = kind;
  indexes_[symbol] = index;
  return true;
}

int PlaneZoneOf(std::string_view coordinateSystem) {
  constexpr std::string_view kHead = "公共座標";
  constexpr std::string_view kTail = "系";
  if (!coordinateSystem.starts_with(kHead) || !coordinateSystem.ends_with(kTail)) return 0;
  std::string_view digits =
      coordinateSystem.substr(kHead.size(), coordinateSystem.size() - kHead.size() - kTail.size());
  int zone = 0;
  int count = 0;
  while (!digits.empty()) {
    int digit = -1;
    if (digits[0] >= '0' && digits[0] <= '9') {
      digit = digits[0] - '0';
      digits.remove_prefix(1);
    } else if (digits.size() >= 3 && digits.substr(0, 2) == "\xEF\xBC" &&
               static_cast<unsigned char>(digits[2]) >= 0x90 &&
               static_cast<unsigned char>(digits[2]) <= 0x99) {  // "０" to "９"
      digit = static_cast<unsigned char>(digits[2]) - 0x90;
      digits.remove_prefix(3);
    } else {
      return 0;
    }
    zone = zone * 10 + digit;
    if (++count > 2) return 0;
  }
  return zone >= 1 && zone <= 19 ? zone : 0;
}

}  // namespace parquill::mapxml
