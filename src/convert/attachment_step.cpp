#include "convert/attachment_step.h"

#include <new>
#include <string>

#include "base/number_text.h"
#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "base/trim.h"
#include "dxf/chiban_text_reader.h"
#include "dxf/line_work_reader.h"
#include "geometry/chiban_text_index.h"
#include "mif/mif_reader.h"

namespace parquill {

Outcome AttachLotNumbers(const AttachRequest& request, AttachSummary* summary, StepHost* host) {
  const OutputFileNames names = OutputFileNamesFor(request.outputName);
  if (NamesSameFile(names.mid, request.dxfPath) || NamesSameFile(names.mif, request.dxfPath)) {
    return Outcome::Refused(OutputIsInputRefusal());
  }
  const ChibanTextRead read =
      request.lotsFromLines
          ? ReadLineWorkTexts(request.dxfPath, request.selection, request.encoding)
          : ReadChibanTexts(request.dxfPath, request.selection, request.encoding,
                            kChibanTextCapacity, host);
  if (read.failed) return {OutcomeKind::kRefused, 0, read.messages};
  Outcome outcome;
  outcome.messages = read.messages;  // a trap inside the reader: shown, then the step goes on

  try {
    ChibanTextIndex texts(read.texts, request.search);
    if (summary) summary->texts = static_cast<int>(read.texts.size());
    // The MIF file is opened before the MID file is made.
    MifReader mif(names.mif, MifRules::Attachment());
    TextFileWriter mid(names.mid, TextEncoding::kCp932);
    MifRing ring;
    int region = 0;
    int withNumber = 0;
    std::string line;  // reused from region to region
    while (mif.NextRing(ring)) {
      // The ring's last point repeats its first and is not passed.
      const std::int16_t tested = ToInt16(static_cast<double>(ring.count) - 1);
      const ChibanText* found = texts.FirstInside(tested, ring.x.data(), ring.y.data());
      ++region;
      line.assign(std::to_string(region));
      line.push_back(',');
      if (found != nullptr) {
        line.append(TrimBlanks(found->text));
        ++withNumber;
      }
      mid.WriteLine(line);
      if (summary) {
        summary->regions = region;
        summary->regionsWithNumber = withNumber;
      }
    }
    mid.Close();
  } catch (const RuntimeError& error) {
    outcome.kind = OutcomeKind::kTrapped;
    outcome.errorNumber = error.number();
    outcome.messages.push_back({TrapText(error), kSurveyTrapTitle});
  } catch (const std::bad_alloc&) {
    RuntimeError error(kOutOfMemory);
    outcome.kind = OutcomeKind::kTrapped;
    outcome.errorNumber = error.number();
    outcome.messages.push_back({TrapText(error), kSurveyTrapTitle});
  }
  return outcome;
}

}  // namespace parquill
