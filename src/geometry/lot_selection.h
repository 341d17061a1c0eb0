#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/step_outcome.h"
#include "geometry/lot_model.h"

// Choosing lots of a lot model (a site: the lots in question and their
// neighbours) and taking them out as a lot model of their own.
//
// The command line and the window call it alike:
//   std::vector<std::size_t> chosen;
//   Outcome found = ChooseLots(model, {{"123-4"}, "大字名", true}, chosen);
//   if (found.done()) {
//     Outcome written = WriteLotFiles(SelectedLots(model, chosen), files);  // lot_files.h
//   }
// A window that selects by clicks passes its own lot indices to
// WithNeighbours and SelectedLots.
namespace parquill {

struct LotQuery {
  std::vector<std::string> chibans;  // every lot with one of these 地番
  std::string oaza;                  // when given, only the lots of this 大字 (column "Oaza")
  bool neighbours = false;           // and every lot sharing a boundary point with them
};

// The lots with that 地番 (in that 大字 when `oaza` is given), in model order.
std::vector<std::size_t> LotsNumbered(const LotModel& lots, std::string_view chiban,
                                      std::string_view oaza = {});

// The 地番 of the model nearest to `chiban` (the same numbers first, then
// the fewest edits), at most `count`, each once.
std::vector<std::string> NearestChibans(const LotModel& lots, std::string_view chiban,
                                        std::size_t count = 5);

// The chosen lots and every lot sharing a boundary point with one of them
// (the same boundary point number, holes' points included), in model order.
std::vector<std::size_t> WithNeighbours(const LotModel& lots,
                                        const std::vector<std::size_t>& chosen);

// Every lot the query names, in model order. A 地番 that matches nothing is
// refused, naming it and the nearest numbers the model holds ("地番検索").
Outcome ChooseLots(const LotModel& lots, const LotQuery& query, std::vector<std::size_t>& chosen);

// The chosen lots (indices in model order) as a model of their own: their
// rings and values; their boundary points numbered again from 1 in order of
// first use, each keeping the name it has in the whole model ("K" and its
// number there when it has none), so that a site and its whole map name a
// point alike.
LotModel SelectedLots(const LotModel& lots, const std::vector<std::size_t>& chosen);

}  // namespace parquill
