#include "sima/mif_to_sima_conversion.h"

#include <new>

#include "sima/conversion_messages.h"
#include "sima/lot_table.h"
#include "sima/mif_mid_reader.h"
#include "sima/point_table.h"
#include "sima/sima_writer.h"
#include "text/output_file_names.h"
#include "text/runtime_error.h"

namespace parquill {

Outcome ConvertMifToSima(const ConversionRequest& request, StepHost& host,
                         ConversionSummary* summary) {
  host.LetEventsThrough();
  if (request.dxfPath.empty() || request.outputName.empty()) {
    return Outcome::Refused(NoFileSelectedMessage());
  }
  const OutputFileNames names = OutputFileNamesFor(request.outputName);
  // Writing the SIMA file over one of the inputs would destroy it.
  if (NamesSameFile(names.sima, request.dxfPath) || NamesSameFile(names.sima, names.mif) ||
      NamesSameFile(names.sima, names.mid)) {
    return Outcome::Refused(OutputIsInputRefusal());
  }
  try {
    PointTable points(request.search);
    LotTable lots;
    MifReading reading;
    if (auto message = ReadMifPoints(names.mif, host, points, reading)) {
      return Outcome::Refused(*message);
    }
    if (auto message = ReadMidLots(names.mid, reading.delimiter, lots)) {
      return Outcome::Refused(*message);
    }
    SimaSource source{names.mif, &points, &lots, reading.regionCount};
    int lotsWithNumber = 0;
    if (auto message = WriteSimaFile(source, names.sima, host, lotsWithNumber)) {
      return Outcome::Refused(*message);
    }
    if (summary != nullptr) *summary = {points.count(), reading.regionCount, lotsWithNumber};
    return Outcome::Done();
  } catch (const RuntimeError& error) {
    return Outcome::Trapped(error, kConversionTrapTitle);
  } catch (const std::bad_alloc&) {
    return Outcome::Trapped(RuntimeError(kOutOfMemory), kConversionTrapTitle);
  }
}

}  // namespace parquill
