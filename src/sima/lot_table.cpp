#include "sima/lot_table.h"

#include <algorithm>

#include "base/line_reader.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "base/trim.h"
#include "sima/conversion_messages.h"

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
