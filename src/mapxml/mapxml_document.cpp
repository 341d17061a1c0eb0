#include "mapxml/mapxml_document.h"

#include <functional>

namespace parquill::mapxml {

namespace {

constexpr std::size_t kFirstSlots = std::size_t{1} << 14;

std::uint64_t HashOf(std::string_view id) { return std::hash<std::string_view>{}(id); }

}  // namespace

Symbol SymbolTable::Intern(std::string_view id) {
  if (slots_.empty()) slots_.assign(kFirstSlots, 0);
  const std::uint64_t hash = HashOf(id);
  const std::uint64_t tag = hash & 0xFFFFFFFF00000000ULL;
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = static_cast<std::size_t>(hash) & mask;
  for (;; i = (i + 1) & mask) {
    const std::uint64_t slot = slots_[i];
    if (slot == 0) break;
    if ((slot & 0xFFFFFFFF00000000ULL) == tag) {
      const auto symbol = static_cast<Symbol>((slot & 0xFFFFFFFF) - 1);
      if (IdOf(symbol) == id) return symbol;
    }
  }
  const auto symbol = static_cast<Symbol>(kinds_.size());
  slots_[i] = tag | (std::uint64_t{symbol} + 1);
  ids_.append(id);
  idStarts_.push_back(static_cast<std::uint32_t>(ids_.size()));
  kinds_.push_back(Kind::kNone);
  indexes_.push_back(0);
  if (2 * kinds_.size() > slots_.size()) Grow();
  return symbol;
}

void SymbolTable::Grow() {
  std::vector<std::uint64_t> slots(2 * slots_.size(), 0);
  const std::size_t mask = slots.size() - 1;
  for (Symbol symbol = 0; symbol < kinds_.size(); ++symbol) {
    const std::uint64_t hash = HashOf(IdOf(symbol));
    std::size_t i = static_cast<std::size_t>(hash) & mask;
    while (slots[i] != 0) i = (i + 1) & mask;
    slots[i] = (hash & 0xFFFFFFFF00000000ULL) | (std::uint64_t{symbol} + 1);
  }
  slots_.swap(slots);
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
