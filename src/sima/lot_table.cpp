#include "sima/lot_table.h"

#include "base/runtime_error.h"

namespace parquill {

LotTable::LotTable() : entries_(kCapacity + 1) {}

int LotTable::Add(std::string lotNumber) {
  if (count_ >= kCapacity) return 0;
  ++count_;
  entries_[static_cast<std::size_t>(count_)] = std::move(lotNumber);
  return count_;
}

const std::string& LotTable::At(int regionNumber) const {
  if (regionNumber < 0 || regionNumber > kCapacity) throw RuntimeError(kSubscriptOutOfRange);
  return entries_[static_cast<std::size_t>(regionNumber)];
}

}  // namespace parquill
