#include "convert/sima_conversion_step.h"

#include <new>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "mif/mif_reader.h"
#include "sima/conversion_messages.h"
#include "sima/lot_table.h"
#include "sima/point_table.h"
#include "sima/sima_writer.h"

namespace parquill {
namespace {

// The conversion once its file names are checked; run-time errors are left
// to the caller.
Outcome Convert(const ConversionRequest& request, const OutputFileNames& names, StepHost& host,
                ConversionSummary* summary) {
  const bool swap = host.SwapTicked();
  PointTable points(request.search);
  LotRings rings;
  // Only the first ring of a region is read; the rings after it are passed
  // over with the other lines.
  MifReader mif(names.mif, MifRules::Conversion(swap));
  while (mif.NextRegion()) {
    rings.Begin(mif.count());
    for (std::int32_t j = 0; j < mif.count(); ++j) {
      double x = 0;
      double y = 0;
      mif.NextPoint(x, y);
      if (!rings.Take(x, y, points)) return Outcome::Refused(TooManyPointsMessage());
    }
    rings.End();
  }
  LotTable lots;
  if (auto message = ReadMidLots(names.mid, mif.delimiter(), lots)) {
    return Outcome::Refused(*message);
  }
  int lotsWithNumber = 0;
  if (auto message = WriteSimaFile(names.sima, points, rings, lots, host, lotsWithNumber)) {
    return Outcome::Refused(*message);
  }
  if (summary != nullptr) *summary = {points.count(), rings.regionCount(), lotsWithNumber};
  return Outcome::Done();
}

}  // namespace

Outcome ConvertMifToSima(const ConversionRequest& request, StepHost& host,
                         ConversionSummary* summary) {
  host.LetEventsThrough();
  const OutputFileNames names = OutputFileNamesFor(request.outputName);
  if (request.dxfPath.empty() || request.outputName.empty()) {
    return Outcome::Refused(NoFileSelectedMessage());
  }
  // Writing the SIMA file over one of the inputs would destroy it.
  if (NamesSameFile(names.sima, request.dxfPath) || NamesSameFile(names.sima, names.mif) ||
      NamesSameFile(names.sima, names.mid)) {
    return Outcome::Refused(OutputIsInputRefusal());
  }
  try {
    return Convert(request, names, host, summary);
  } catch (const RuntimeError& error) {
    return Outcome::Trapped(error, kConversionTrapTitle);
  } catch (const std::bad_alloc&) {
    return Outcome::Trapped(RuntimeError(kOutOfMemory), kConversionTrapTitle);
  }
}

}  // namespace parquill
