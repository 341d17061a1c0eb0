#include "sima/sima_writer.h"

#include <limits>

#include "base/limits.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "sima/conversion_messages.h"
#include "sima/kokudo_records.h"

namespace parquill {
namespace {

enum ClosureCode : std::int16_t { kClosed = 1, kOpen = 2 };

}  // namespace

void LotRings::Begin(std::int32_t count) {
  if (regionCount_ == std::numeric_limits<int>::max()) throw RuntimeError(kOverflow);
  ++regionCount_;
  // The lots stop at a ring too long and raise an error at the region after
  // the lot table's last: nothing past them is kept.
  const bool kept = rings_.size() <= static_cast<std::size_t>(LotTable::kCapacity) &&
                    (rings_.empty() || rings_.back().count <= kRingCapacity);
  keeping_ = kept && count <= kRingCapacity;
  if (kept) rings_.push_back({count, true, numbers_.size()});
}

bool LotRings::Take(double x, double y, PointTable& points) {
  const int k = points.FindOrAdd(x, y);
  if (k == 0) return false;
  if (keeping_) {
    if (numbers_.size() == rings_.back().firstNumber) {
      firstX_ = x;
      firstY_ = y;
    }
    lastX_ = x;
    lastY_ = y;
    numbers_.push_back(static_cast<std::int16_t>(k));
  }
  return true;
}

void LotRings::End() {
  if (!keeping_ || rings_.back().count == 0) return;
  rings_.back().closed = WithinTolerance(firstX_, lastX_) && WithinTolerance(firstY_, lastY_);
}

std::optional<Message> WriteSimaFile(const std::string& simaPath, const PointTable& points,
                                     const LotRings& rings, const LotTable& lots, StepHost& host,
                                     int& lotsWithNumber) {
  TextFileWriter sima(simaPath, TextEncoding::kCp932);
  host.LetEventsThrough();
  sima.WriteLine(kokudo::SimaG00());
  sima.WriteLine(kokudo::SimaZ00("SIMA共通フォーマットデータ"));
  sima.WriteLine(kokudo::SimaZ00("座標点数:" + std::to_string(points.count()) +
                                 " 筆個数:" + std::to_string(rings.regionCount())));
  sima.WriteLine(kokudo::SimaZ00("座標"));
  sima.WriteLine(kokudo::SimaTag("A00"));
  std::string line;  // reused for every point record
  for (int k = 1; k <= points.count(); ++k) {
    line.clear();
    kokudo::AppendSimaA01(line, static_cast<std::int16_t>(k), points.X(k), points.Y(k));
    sima.WriteAsciiLine(line);
  }
  sima.WriteAsciiLine(kokudo::SimaTag("A99"));

  lotsWithNumber = 0;
  std::optional<Message> message;
  int region = 0;
  for (const LotRings::Ring& ring : rings.rings()) {
    if (ring.count > kRingCapacity) {
      message = RingTooLongMessage();
      break;
    }
    ++region;
    host.ShowProgress(region);
    host.LetEventsThrough();
    const std::string& chiban = lots.At(region);  // beyond the table: error 9
    if (!chiban.empty()) ++lotsWithNumber;
    sima.WriteLine(kokudo::SimaZ00("筆 " + chiban));
    sima.WriteLine(
        kokudo::SimaD00(static_cast<std::int16_t>(region), chiban, ring.closed ? kClosed : kOpen));
    // A closed ring's last point repeats its first and is not listed.
    const auto count = static_cast<std::size_t>(ring.count);
    const std::size_t listed = ring.closed && count > 0 ? count - 1 : count;
    for (std::size_t i = 0; i < listed; ++i) {
      line.clear();
      kokudo::AppendSimaB01(line, rings.numbers()[ring.firstNumber + i]);
      sima.WriteAsciiLine(line);
    }
    sima.WriteAsciiLine(kokudo::SimaTag("D99"));
  }
  if (!message) sima.Close();  // a refused file is not left half-written
  return message;
}

}  // namespace parquill
