#include "sima/mif_to_sima_conversion.h"

#include <new>
#include <optional>

#include "sima/conversion_messages.h"
#include "sima/lot_table.h"
#include "sima/mif_mid_reader.h"
#include "sima/point_table.h"
#include "sima/sima_writer.h"
#include "base/output_file_names.h"
#include "base/runtime_error.h"

namespace parquill {

namespace {

// The checks made before any file is read; the refusal to show, if any.
std::optional<Message> CheckNames(const ConversionRequest& request, const OutputFileNames& names) {
  if (request.dxfPath.empty() || request.outputName.empty()) return NoFileSelectedMessage();
  // Writing the SIMA file over one of the inputs would destroy it.
  if (NamesSameFile(names.sima, request.dxfPath) || NamesSameFile(names.sima, names.mif) ||
      NamesSameFile(names.sima, names.mid)) {
    return OutputIsInputRefusal();
  }
  return std::nullopt;
}

// Everything after the first reading of the MIF file: the MID file, then the
// SIMA file. Run-time errors are left to the caller.
// The linear reference searches the table again for every point of the
// second reading; the indexed conversion takes the first reading's answers.
Outcome ConvertAfterFirstReading(const OutputFileNames& names, StepHost& host,
                                 ConversionSummary* summary, SearchStrategy search,
                                 const PointTable& points, const MifReading& reading,
                                 LotTable& lots) {
  if (auto message = ReadMidLots(names.mid, reading.delimiter, lots)) {
    return Outcome::Refused(*message);
  }
  SimaSource source{names.mif, &points, &lots, reading.regionCount, &reading.regionStarts};
  if (search == SearchStrategy::kIndexed) {
    source.pointNumbers = &reading.pointNumbers;
    source.regionsNumbered = reading.regionsNumbered;
  }
  int lotsWithNumber = 0;
  if (auto message = WriteSimaFile(source, names.sima, host, lotsWithNumber)) {
    return Outcome::Refused(*message);
  }
  if (summary != nullptr) *summary = {points.count(), reading.regionCount, lotsWithNumber};
  return Outcome::Done();
}

}  // namespace

Outcome ConvertMifToSima(const ConversionRequest& request, StepHost& host,
                         ConversionSummary* summary) {
  host.LetEventsThrough();
  const OutputFileNames names = OutputFileNamesFor(request.outputName);
  if (auto refusal = CheckNames(request, names)) return Outcome::Refused(*refusal);
  try {
    PointTable points(request.search);
    LotTable lots;
    MifReading reading;
    if (auto message = ReadMifPoints(names.mif, host, points, reading)) {
      return Outcome::Refused(*message);
    }
    return ConvertAfterFirstReading(names, host, summary, request.search, points, reading, lots);
  } catch (const RuntimeError& error) {
    return Outcome::Trapped(error, kConversionTrapTitle);
  } catch (const std::bad_alloc&) {
    return Outcome::Trapped(RuntimeError(kOutOfMemory), kConversionTrapTitle);
  }
}

PreparedMifReading PrepareMifReading(const ConversionRequest& request, StepHost& host,
                                     GrowingFile* growing, const WrittenRegions* written) {
  PreparedMifReading prepared;
  try {
    prepared.points.emplace(request.search);
    if (written != nullptr && ReadWrittenMifPoints(*written, host, *prepared.points,
                                                   prepared.reading, prepared.refusal)) {
      return prepared;
    }
    // The regions were given up: the file is read, from its start.
    prepared.points.emplace(request.search);
    prepared.reading = MifReading();
    prepared.refusal = ReadMifPoints(OutputFileNamesFor(request.outputName).mif, host,
                                     *prepared.points, prepared.reading, growing);
  } catch (...) {
    prepared.error = std::current_exception();
  }
  return prepared;
}

Outcome ConvertMifToSima(const ConversionRequest& request, StepHost& host,
                         ConversionSummary* summary, PreparedMifReading&& prepared) {
  host.LetEventsThrough();
  const OutputFileNames names = OutputFileNamesFor(request.outputName);
  if (auto refusal = CheckNames(request, names)) return Outcome::Refused(*refusal);
  try {
    LotTable lots;
    if (prepared.error) std::rethrow_exception(prepared.error);
    if (prepared.refusal) return Outcome::Refused(*prepared.refusal);
    return ConvertAfterFirstReading(names, host, summary, request.search, *prepared.points,
                                    prepared.reading, lots);
  } catch (const RuntimeError& error) {
    return Outcome::Trapped(error, kConversionTrapTitle);
  } catch (const std::bad_alloc&) {
    return Outcome::Trapped(RuntimeError(kOutOfMemory), kConversionTrapTitle);
  }
}

}  // namespace parquill
