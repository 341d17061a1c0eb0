#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/step_outcome.h"

namespace parquill {

// The lot numbers of one conversion: entry r is the lot number of region r
// (1 to 2000); an entry that no attribute line filled is empty.
class LotTable {
 public:
  static constexpr int kCapacity = 2000;

  LotTable();

  // Stores the next lot number and returns its entry; 0 when the table is full
  // (nothing is stored).
  int Add(std::string lotNumber);

  int count() const { return count_; }
  // The lot number of region r; a region beyond the capacity raises error 9.
  const std::string& At(int regionNumber) const;

 private:
  std::vector<std::string> entries_;  // slots 0 to kCapacity; slot 0 stays empty
  int count_ = 0;
};

}  // namespace parquill
