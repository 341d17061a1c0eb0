#include "convert/sima_conversion_step.h"

#include "base/limits.h"
#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "sima/conversion_messages.h"
#include "sima/point_table.h"
#include "sima/sima_writer.h"

namespace parquill {
namespace {

// Numbers the distinct points of the lots' exterior rings, in the order of
// first use, by the point table's tolerance; false when they are more than
// the table takes.
bool NumberBoundaryPoints(LotModel& lots) {
  PointTable table;
  lots.pointNumbers.assign(lots.points.size(), 0);
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const LotModel::Ring& ring = lots.ExteriorOf(l);
    for (std::uint32_t i = ring.firstPoint; i < ring.firstPoint + ring.pointCount; ++i) {
      const int k = table.FindOrAdd(lots.points[i].x, lots.points[i].y);
      if (k == 0) return false;
      lots.pointNumbers[i] = k;
    }
  }
  lots.boundaryPoints.clear();
  for (int k = 1; k <= table.count(); ++k)
    lots.boundaryPoints.push_back({{table.X(k), table.Y(k)}, {}});
  return true;
}

}  // namespace

Outcome ConvertToSima(const ConversionChoices& choices, LotModel& lots, StepHost& host,
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
  return TrapRunTimeErrors(kConversionTrapTitle, [&] {
    if (!NumberBoundaryPoints(lots)) return Outcome::Refused(TooManyPointsMessage());
    if (lots.lots.size() > static_cast<std::size_t>(kSimaLotCapacity)) {
      return Outcome::Refused(TooManyLotsMessage());
    }
    TextFileWriter sima(names.sima, TextEncoding::kCp932);
    WriteLotsSima(sima, lots, choices.swapXY, &host);
    sima.Close();
    if (summary != nullptr) {
      int lotsWithNumber = 0;
      for (std::size_t l = 0; l < lots.lots.size(); ++l) lotsWithNumber += !lots.Chiban(l).empty();
      *summary = {static_cast<int>(lots.boundaryPoints.size()), static_cast<int>(lots.lots.size()),
                  lotsWithNumber};
    }
    return Outcome::Done();
  });
}

}  // namespace parquill
