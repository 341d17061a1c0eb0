#include "sima/sima_writer.h"

#include <vector>

#include "sima/conversion_messages.h"
#include "sima/kokudo_records.h"
#include "sima/mif_line_rules.h"
#include "text/line_reader.h"
#include "text/text_file_writer.h"
#include "text/work_alongside.h"

namespace parquill {
namespace {

enum ClosureCode : std::int16_t { kClosed = 1, kOpen = 2 };

// The lots' lines kept in memory while the point records are built: more
// than this, and the lots wait for them.
constexpr std::size_t kMostLotBytesAhead = std::size_t{1} << 20;

void WriteHeader(TextFileWriter& sima, const SimaSource& source) {
  sima.WriteLine(kokudo::SimaG00());
  sima.WriteLine(kokudo::SimaZ00("SIMA共通フォーマットデータ"));
  sima.WriteLine(kokudo::SimaZ00("座標点数:" + std::to_string(source.points->count()) +
                                 " 筆個数:" + std::to_string(source.regionCount)));
  sima.WriteLine(kokudo::SimaZ00("座標"));
  sima.WriteLine(kokudo::SimaTag("A00"));
}

// Every point's A01 record and the A99 record, as the lines of the file
// (ASCII only, CR LF): they depend on the point table alone, complete since
// the first reading, so they are built on a second thread while the lots are
// read.
std::string PointRecords(const PointTable& points) {
  constexpr std::size_t kUsualRecordBytes = 40;
  std::string block;
  block.reserve(static_cast<std::size_t>(points.count() + 1) * kUsualRecordBytes);
  for (int k = 1; k <= points.count(); ++k) {
    kokudo::AppendSimaA01(block, static_cast<std::int16_t>(k), points.X(k), points.Y(k));
    block.append("\r\n");
  }
  block.append(kokudo::SimaTag("A99"));
  block.append("\r\n");
  return block;
}

// A ring whose last point repeats its first is closed; the repeat is not listed.
// An empty ring has nothing open and counts as closed.
ClosureCode ClosureOf(const std::vector<Coordinate>& ring) {
  if (ring.empty()) return kClosed;
  const Coordinate& first = ring.front();
  const Coordinate& last = ring.back();
  bool same = WithinTolerance(first.x, last.x) && WithinTolerance(first.y, last.y);
  return same ? kClosed : kOpen;
}

template <typename AfterLot>
std::optional<Message> WriteLots(const SimaSource& source, LineReader& mif, TextFileWriter& sima,
                                 StepHost& host, int& lotsWithNumber, AfterLot afterLot) {
  // Every record is built in one buffer: no line costs an allocation.
  std::string line;
  line.reserve(256);
  std::string comment;

  std::vector<Coordinate> ring;
  ring.reserve(kRingCapacity);
  int regionNumber = 0;
  lotsWithNumber = 0;
  std::string_view mifLine;
  while (mif.Next(mifLine)) {
    if (!StartsWithKeyword(mifLine, "REGION")) continue;
    std::int32_t count = ReadRingPointCount(mif);
    if (count > kRingCapacity) return RingTooLongMessage();
    ++regionNumber;
    host.ShowProgress(regionNumber);
    host.LetEventsThrough();

    ring.clear();
    for (std::int32_t j = 1; j <= count; ++j) {
      ring.push_back(CoordinateFromLine(mif.Require(), host.SwapTicked()));
    }
    ClosureCode closure = ClosureOf(ring);
    std::size_t listed = closure == kClosed && !ring.empty() ? ring.size() - 1 : ring.size();

    const std::string& lotNumber = source.lots->At(regionNumber);  // beyond the table: error 9
    if (!lotNumber.empty()) ++lotsWithNumber;
    comment.assign("筆 ");
    comment.append(lotNumber);
    line.clear();
    kokudo::AppendSimaZ00(line, comment);
    sima.WriteLine(line);
    line.clear();
    kokudo::AppendSimaD00(line, static_cast<std::int16_t>(regionNumber), lotNumber, closure);
    sima.WriteLine(line);
    for (std::size_t i = 0; i < listed; ++i) {
      int k = source.points->Find(ring[i].x, ring[i].y);
      if (k == 0) return PointNotFoundMessage();
      line.clear();
      kokudo::AppendSimaB01(line, static_cast<std::int16_t>(k));
      sima.WriteAsciiLine(line);
    }
    sima.WriteLine(kokudo::SimaTag("D99"));
    afterLot();
  }
  return std::nullopt;
}

}  // namespace

std::optional<Message> WriteSimaFile(const SimaSource& source, const std::string& simaPath,
                                     StepHost& host, int& lotsWithNumber) {
  LineReader mif(source.mifPath);
  TextFileWriter sima(simaPath, TextEncoding::kCp932);
  host.LetEventsThrough();
  WriteHeader(sima, source);
  // The point records take their place in the file when they are ready;
  // meanwhile the lots' lines wait in memory behind them.
  WorkAlongside<std::string> pointRecords(
      [&points = *source.points] { return PointRecords(points); });
  sima.Defer(kMostLotBytesAhead);
  auto placePointRecords = [&] {
    if (sima.deferring()) sima.FillDeferred(pointRecords.Take());
  };
  try {
    std::optional<Message> message = WriteLots(source, mif, sima, host, lotsWithNumber, [&] {
      if (pointRecords.Ready() || sima.deferredBytes() >= kMostLotBytesAhead) placePointRecords();
    });
    placePointRecords();
    sima.Close();
    return message;
  } catch (...) {
    // The file keeps what was written before the error, in its order.
    placePointRecords();
    throw;
  }
}

}  // namespace parquill
