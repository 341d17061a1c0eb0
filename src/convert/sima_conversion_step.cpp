#include "convert/sima_conversion_step.h"

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "mif/mid_file.h"
#include "mif/mif_reader.h"
#include "sima/conversion_messages.h"
#include "sima/kokudo_records.h"
#include "sima/lot_table.h"
#include "sima/point_table.h"
#include "sima/sima_writer.h"

namespace parquill {
namespace {

// The conversion once its file names are checked; run-time errors are left
// to the caller.
Outcome Convert(const ConversionChoices& choices, const OutputFileNames& names, StepHost& host,
                ConversionSummary* summary) {
  PointTable points;
  LotRings rings;
  // Only the first ring of a region is read; the rings after it are passed
  // over with the other lines.
  MifReader mif(names.mif, MifRules::Conversion(choices.swapXY));
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
  bool full = false;
  ReadMidChibans(names.mid, mif.delimiter(), [&](const std::string& chiban) {
    full = lots.Add(kokudo::SimaChiban(chiban)) == 0;
    return !full;
  });
  if (full) return Outcome::Refused(TooManyLotsMessage());
  int lotsWithNumber = 0;
  if (auto message = WriteSimaFile(names.sima, points, rings, lots, host, lotsWithNumber)) {
    return Outcome::Refused(*message);
  }
  if (summary != nullptr) *summary = {points.count(), rings.regionCount(), lotsWithNumber};
  return Outcome::Done();
}

}  // namespace

Outcome ConvertMifToSima(const ConversionChoices& choices, StepHost& host,
                         ConversionSummary* summary) {
  host.LetEventsThrough();
  const OutputFileNames names = OutputFileNamesFor(choices.output);
  if (choices.drawing.empty() || choices.output.empty()) {
    return Outcome::Refused(NoFileSelectedMessage());
  }
  // Writing the SIMA file over one of the inputs would destroy it.
  if (NamesSameFile(names.sima, choices.drawing) || NamesSameFile(names.sima, names.mif) ||
      NamesSameFile(names.sima, names.mid)) {
    return Outcome::Refused(OutputIsInputRefusal());
  }
  return TrapRunTimeErrors(kConversionTrapTitle,
                           [&] { return Convert(choices, names, host, summary); });
}

}  // namespace parquill
