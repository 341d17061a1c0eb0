#include "sima/sima_writer.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <exception>
#include <vector>

#include "sima/conversion_messages.h"
#include "sima/kokudo_records.h"
#include "sima/mif_line_rules.h"
#include "base/line_reader.h"
#include "base/text_buffer.h"
#include "base/text_codec.h"
#include "base/text_file_writer.h"
#include "base/work_alongside.h"

namespace parquill {
namespace {

enum ClosureCode : std::int16_t { kClosed = 1, kOpen = 2 };

// The lots' lines kept in memory while the point records are built: more
// than this, and the lots wait for them.
constexpr std::size_t kMostLotBytesAhead = std::size_t{1} << 20;

// A map with fewer ring points than this is written on one thread: sharing
// it would cost more than it saves.
constexpr std::int64_t kFewestPointsToShare = 4000;

void WriteHeader(TextFileWriter& sima, const SimaSource& source) {
  sima.WriteLine(kokudo::SimaG00());
  sima.WriteLine(kokudo::SimaZ00("SIMA共通フォーマットデータ"));
  sima.WriteLine(kokudo::SimaZ00("座標点数:" + std::to_string(source.points->count()) +
                                 " 筆個数:" + std::to_string(source.regionCount)));
  sima.WriteLine(kokudo::SimaZ00("座標"));
  sima.WriteLine(kokudo::SimaTag("A00"));
}

// Every point's A01 record and the A99 record: they depend on the point table
// alone, complete since the first reading.
template <typename Sink>
void WritePointRecords(const PointTable& points, Sink& sima) {
  std::string line;
  for (int k = 1; k <= points.count(); ++k) {
    const auto number = static_cast<std::int16_t>(k);
    char* room = sima.AsciiLineRoom(kokudo::kPointRecordRoom);
    if (char* end = kokudo::WriteSimaA01(room, number, points.X(k), points.Y(k))) {
      sima.EndAsciiLine(end);
      continue;
    }
    line.clear();
    kokudo::AppendSimaA01(line, number, points.X(k), points.Y(k));
    sima.WriteAsciiLine(line);
  }
  sima.WriteAsciiLine(kokudo::SimaTag("A99"));
}

// The same, as the lines of the file (ASCII only, CR LF), for another thread.
std::string PointRecords(const PointTable& points) {
  constexpr std::size_t kUsualRecordBytes = 40;
  TextBuffer block(TextEncoding::kCp932);
  block.Reserve(static_cast<std::size_t>(points.count() + 1) * kUsualRecordBytes);
  WritePointRecords(points, block);
  return block.Take();
}

// A ring whose last point repeats its first is closed; the repeat is not listed.
// An empty ring has nothing open and counts as closed.
ClosureCode ClosureOf(const std::vector<Coordinate>& ring) {
  if (ring.empty()) return kClosed;
  return RingCloses(ring.front(), ring.back()) ? kClosed : kOpen;
}

// The records of one lot: its comment, its head, one B01 line per listed
// point of its ring, numbered by `numberOf(i)`, and its end. Returns false,
// the lot left unfinished, when a point has no number (0).
// Every record is built in the same buffers: no line costs an allocation.
struct LotLines {
  std::string lotNumber;  // encoded
  std::string head;       // the comment and head lines, encoded and ended
  std::string line;
};

template <typename Sink, typename NumberOf>
bool WriteLot(Sink& sima, LotLines& lines, const std::string& lotNumber, int regionNumber,
              ClosureCode closure, std::size_t listed, NumberOf numberOf) {
  // The lot number is encoded once for both lines; the rest of them is ASCII
  // but for the comment's "筆 ".
  static const std::string kLotWord = EncodeText("筆 ", TextEncoding::kCp932);
  lines.lotNumber.clear();
  AppendEncodedText(lines.lotNumber, lotNumber, TextEncoding::kCp932);
  lines.head.clear();
  lines.head.append("Z00,/").append(kLotWord).append(lines.lotNumber).append("/,\r\n");
  kokudo::AppendSimaD00(lines.head, static_cast<std::int16_t>(regionNumber), lines.lotNumber,
                        closure);
  lines.head.append("\r\n");
  sima.WriteEncodedLines(lines.head);
  for (std::size_t i = 0; i < listed; ++i) {
    const int k = numberOf(i);
    if (k == 0) return false;
    const auto number = static_cast<std::int16_t>(k);
    char* room = sima.AsciiLineRoom(kokudo::kPointRecordRoom);
    if (char* end = kokudo::WriteSimaB01(room, number)) {
      sima.EndAsciiLine(end);
      continue;
    }
    lines.line.clear();
    kokudo::AppendSimaB01(lines.line, number);
    sima.WriteAsciiLine(lines.line);
  }
  sima.WriteAsciiLine("D99,");
  return true;
}

// The regions one reading of the lots takes: those after the first
// `regionsBefore`, up to `lastRegion`; it stops at the header line of the
// region after that.
struct LotRange {
  int regionsBefore = 0;
  int lastRegion = INT_MAX;
};

// How a reading of the lots ended.
struct LotsWritten {
  std::optional<Message> message;  // a ring too long or a point not found
  int lotsWithNumber = 0;
  bool stopped = false;  // at the header of region regionsDone + 1, which starts at `next`
  int regionsDone = 0;
  RegionStart next;
  bool startedOffHeader = false;  // told to start at a header, it found another line
};

// Reads the lots from the MIF file and writes their records: per region its
// comment, its head, one B01 line per point of its first ring (the closing
// point left out when it repeats the first) and its end. `afterLot` is asked
// after every lot whether to go on past the next region's header.
template <typename Sink, typename AfterLot>
LotsWritten WriteLots(const SimaSource& source, LineReader& mif, Sink& sima, StepHost& host,
                      LotRange range, bool startsAtHeader, AfterLot afterLot) {
  LotLines lines;
  std::vector<Coordinate> ring;
  ring.reserve(kRingCapacity);

  LotsWritten written;
  int regionNumber = range.regionsBefore;
  std::string_view mifLine;
  for (std::int64_t at = mif.NextLineOffset(), before = mif.lineNumber(); mif.Next(mifLine);
       at = mif.NextLineOffset(), before = mif.lineNumber()) {
    const bool header = StartsWithKeyword(mifLine, "REGION");
    if (startsAtHeader) {
      startsAtHeader = false;
      if (!header) {
        written.startedOffHeader = true;
        return written;
      }
    }
    if (!header) continue;
    if (regionNumber >= range.lastRegion) {
      written.stopped = true;
      written.regionsDone = regionNumber;
      written.next = {at, before, 0};
      return written;
    }
    std::int32_t count = ReadRingPointCount(mif);
    if (count > kRingCapacity) {
      written.message = RingTooLongMessage();
      return written;
    }
    ++regionNumber;
    host.ShowProgress(regionNumber);
    host.LetEventsThrough();

    RequireRingCoordinates(mif, count, host, ring);
    ClosureCode closure = ClosureOf(ring);
    std::size_t listed = closure == kClosed && !ring.empty() ? ring.size() - 1 : ring.size();

    const std::string& lotNumber = source.lots->At(regionNumber);  // beyond the table: error 9
    if (!lotNumber.empty()) ++written.lotsWithNumber;
    const auto search = [&](std::size_t i) { return source.points->Find(ring[i].x, ring[i].y); };
    if (!WriteLot(sima, lines, lotNumber, regionNumber, closure, listed, search)) {
      written.message = PointNotFoundMessage();
      return written;
    }
    if (!afterLot()) range.lastRegion = regionNumber;
  }
  written.regionsDone = regionNumber;
  return written;
}

bool GoOn() { return true; }

// True when the first reading numbered the points of every ring the lots
// need: all regions, or those before the first ring too long to be written.
bool LotsAreNumbered(const SimaSource& source) {
  if (source.pointNumbers == nullptr || source.regionStarts == nullptr) return false;
  const std::vector<RegionStart>& starts = *source.regionStarts;
  const auto numbered = static_cast<std::size_t>(source.regionsNumbered);
  if (source.regionsNumbered == source.regionCount) return numbered <= starts.size();
  return numbered < starts.size() && starts[numbered].pointCount > kRingCapacity;
}

// Writes the lots after the first `range.regionsBefore` up to
// `range.lastRegion` from the numbers the first reading gave their points:
// the records a second reading writes, the MIF file unchanged and the swap
// box the same, without reading the file or searching the table again.
// `afterLot` is asked after every lot whether to go on past it.
template <typename Sink, typename AfterLot>
LotsWritten WriteNumberedLots(const SimaSource& source, Sink& sima, StepHost& host, LotRange range,
                              AfterLot afterLot) {
  LotLines lines;
  LotsWritten written;
  int regionNumber = range.regionsBefore;
  while (regionNumber < source.regionCount) {
    if (regionNumber >= range.lastRegion) {
      written.stopped = true;
      written.regionsDone = regionNumber;
      return written;
    }
    // The numbering stopped before a ring too long to be written (see
    // LotsAreNumbered): the lots end there, and a part that starts past it
    // writes nothing.
    if (regionNumber >= source.regionsNumbered) {
      written.message = RingTooLongMessage();
      return written;
    }
    const RegionStart& start = (*source.regionStarts)[static_cast<std::size_t>(regionNumber)];
    ++regionNumber;
    host.ShowProgress(regionNumber);
    host.LetEventsThrough();
    const auto count = static_cast<std::size_t>(start.pointCount);
    const std::size_t listed = start.closed && count > 0 ? count - 1 : count;
    const std::string& lotNumber = source.lots->At(regionNumber);  // beyond the table: error 9
    if (!lotNumber.empty()) ++written.lotsWithNumber;
    const std::int16_t* numbers = source.pointNumbers->data() + start.firstNumber;
    WriteLot(sima, lines, lotNumber, regionNumber, start.closed ? kClosed : kOpen, listed,
             [numbers](std::size_t i) { return int{numbers[i]}; });
    if (!afterLot()) range.lastRegion = regionNumber;
  }
  written.regionsDone = regionNumber;
  return written;
}

// One thread: the point records are built on a second one while the lots are
// read, the lots' lines waiting in memory behind them until they are ready.
std::optional<Message> WriteInOrder(const SimaSource& source, LineReader& mif, TextFileWriter& sima,
                                    StepHost& host, int& lotsWithNumber) {
  WorkAlongside<std::string> pointRecords(
      [&points = *source.points] { return PointRecords(points); });
  sima.Defer(kMostLotBytesAhead);
  auto placePointRecords = [&] {
    if (sima.deferring()) sima.FillDeferred(pointRecords.Take());
  };
  try {
    LotsWritten written = WriteLots(source, mif, sima, host, {}, false, [&] {
      if (pointRecords.Ready() || sima.deferredBytes() >= kMostLotBytesAhead) placePointRecords();
      return true;
    });
    placePointRecords();
    lotsWithNumber = written.lotsWithNumber;
    return written.message;
  } catch (...) {
    // The file keeps what was written before the error, in its order.
    placePointRecords();
    throw;
  }
}

// What the work costs, relative to each other (as measured on a large map):
// a point record, a ring point's lot records written into the file, and
// written ahead into memory on the second thread.
struct WorkCosts {
  std::int64_t pointRecord;
  std::int64_t ringPoint;
  std::int64_t ringPointAhead;
};
// When the lots are read from the MIF file again, and when they are written
// from the point numbers.
constexpr WorkCosts kReadingCosts{52, 76, 105};
constexpr WorkCosts kNumberedCosts{36, 15, 26};

// The bytes a ring point's B01 record takes, more or less.
constexpr std::size_t kRingPointBytes = 16;

// The region from which a second thread takes the lots, so that both threads
// have about the same work: the first also builds the point records. 0 when
// the map is too small or its regions are not all known.
struct Share {
  int fromRegion = 0;                // 0: no share
  std::int64_t ringPointsAhead = 0;  // of the regions from there on
};

Share SharedFromRegion(const SimaSource& source, const WorkCosts& costs) {
  if (source.regionStarts == nullptr) return {};
  const std::vector<RegionStart>& starts = *source.regionStarts;
  if (starts.size() < 2 || static_cast<int>(starts.size()) != source.regionCount) return {};
  auto pointsOf = [](const RegionStart& start) {
    return std::int64_t{std::clamp(start.pointCount, 0, kRingCapacity)};
  };
  std::int64_t ringPoints = 0;
  for (const RegionStart& start : starts) ringPoints += pointsOf(start);
  if (ringPoints < kFewestPointsToShare) return {};
  // The first thread's ring points R: records·P + ring·R = ahead·(all − R).
  const std::int64_t firstShare =
      (costs.ringPointAhead * ringPoints - costs.pointRecord * source.points->count()) /
      (costs.ringPoint + costs.ringPointAhead);
  std::int64_t before = 0;
  for (std::size_t r = 1; r < starts.size(); ++r) {
    before += pointsOf(starts[r - 1]);
    if (before >= firstShare) return {static_cast<int>(r) + 1, ringPoints - before};
  }
  return {};
}

// The lots from one region on, written into memory on a second thread.
struct LotsAhead {
  LotsWritten written;
  std::string bytes;
  std::exception_ptr error;  // thrown after `bytes`, as it was met
};

// A part of the lots: the regions after the first `regionsBefore` up to
// `lastRegion`. A reading of the MIF file starts at the header line `at`, or
// for the first part where the file's reading stands.
struct LotPart {
  int regionsBefore = 0;
  int lastRegion = INT_MAX;
  const RegionStart* at = nullptr;
};

// Two threads, for a quiet host: the second writes the lots from region
// `share.fromRegion` on into memory while the first writes the point records
// and the lots before it into the file; then the second's lines follow, and
// its message or error is the step's when the first part ended normally. The
// file is the one the single thread writes, byte for byte.
// writePart(sink, host, part, afterLot) writes one part of the lots.
template <typename WritePart>
std::optional<Message> WriteShared(const SimaSource& source, TextFileWriter& sima, StepHost& host,
                                   Share share, int& lotsWithNumber, WritePart writePart) {
  const int shared = share.fromRegion;
  const RegionStart& start = (*source.regionStarts)[static_cast<std::size_t>(shared - 1)];
  std::atomic<bool> abandon{false};
  const bool swap = host.SwapTicked();
  WorkAlongside<LotsAhead> ahead([&source, &start, &abandon, &writePart, share, shared, swap] {
    LotsAhead result;
    TextBuffer buffer(TextEncoding::kCp932);
    try {
      buffer.Reserve(std::min(source.bytesKeptAhead,
                              static_cast<std::size_t>(share.ringPointsAhead) * kRingPointBytes));
      QuietHost fixed(swap);
      result.written = writePart(buffer, fixed, LotPart{shared - 1, INT_MAX, &start}, [&] {
        return !abandon.load(std::memory_order_relaxed) &&
               buffer.bytes().size() < source.bytesKeptAhead;
      });
    } catch (...) {
      result.error = std::current_exception();
    }
    result.bytes = buffer.Take();
    return result;
  });
  struct Abandon {
    std::atomic<bool>& flag;
    ~Abandon() { flag.store(true, std::memory_order_relaxed); }
  } abandonOnExit{abandon};

  WritePointRecords(*source.points, sima);
  LotsWritten first = writePart(sima, host, LotPart{0, shared - 1, nullptr}, GoOn);
  lotsWithNumber = first.lotsWithNumber;
  if (first.message || !first.stopped) return first.message;

  LotsAhead later = ahead.Take();
  if (later.written.startedOffHeader) {  // the file is not the one first read: read on here
    LotsWritten written = writePart(sima, host, LotPart{shared - 1, INT_MAX, &first.next}, GoOn);
    lotsWithNumber += written.lotsWithNumber;
    return written.message;
  }
  sima.WriteEncodedLines(later.bytes);
  lotsWithNumber += later.written.lotsWithNumber;
  if (later.error) std::rethrow_exception(later.error);
  if (later.written.message || !later.written.stopped) return later.written.message;

  // The second thread stopped to spare memory: the rest is written here.
  LotsWritten written =
      writePart(sima, host, LotPart{later.written.regionsDone, INT_MAX, &later.written.next}, GoOn);
  lotsWithNumber += written.lotsWithNumber;
  return written.message;
}

}  // namespace

std::optional<Message> WriteSimaFile(const SimaSource& source, const std::string& simaPath,
                                     StepHost& host, int& lotsWithNumber) {
  LineReader mif(source.mifPath);
  TextFileWriter sima(simaPath, TextEncoding::kCp932);
  host.LetEventsThrough();
  WriteHeader(sima, source);
  lotsWithNumber = 0;
  // A part of the lots read from the MIF file, from its header line or, for
  // the first part, from where `mif` stands.
  auto readPart = [&source, &mif](auto& sink, StepHost& partHost, LotPart part, auto afterLot) {
    const LotRange range{part.regionsBefore, part.lastRegion};
    if (part.at == nullptr) return WriteLots(source, mif, sink, partHost, range, false, afterLot);
    LineReader reader(source.mifPath, part.at->offset, part.at->linesBefore);
    return WriteLots(source, reader, sink, partHost, range, true, afterLot);
  };
  auto numberedPart = [&source](auto& sink, StepHost& partHost, LotPart part, auto afterLot) {
    return WriteNumberedLots(source, sink, partHost, {part.regionsBefore, part.lastRegion},
                             afterLot);
  };
  std::optional<Message> message;
  if (!host.Quiet()) {
    message = WriteInOrder(source, mif, sima, host, lotsWithNumber);
  } else if (LotsAreNumbered(source)) {
    if (const Share share = SharedFromRegion(source, kNumberedCosts); share.fromRegion != 0) {
      message = WriteShared(source, sima, host, share, lotsWithNumber, numberedPart);
    } else {
      WritePointRecords(*source.points, sima);
      LotsWritten written = numberedPart(sima, host, LotPart{}, GoOn);
      lotsWithNumber = written.lotsWithNumber;
      message = written.message;
    }
  } else if (const Share share = SharedFromRegion(source, kReadingCosts); share.fromRegion != 0) {
    message = WriteShared(source, sima, host, share, lotsWithNumber, readPart);
  } else {
    message = WriteInOrder(source, mif, sima, host, lotsWithNumber);
  }
  sima.Close();
  return message;
}

}  // namespace parquill
