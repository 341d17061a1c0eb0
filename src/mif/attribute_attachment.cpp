#include "mif/attribute_attachment.h"

#include <new>

#include "dxf/chiban_text_reader.h"
#include "mif/region_ring_reader.h"
#include "survey/survey.h"
#include "text/line_reader.h"
#include "text/number_text.h"
#include "text/output_file_names.h"
#include "text/runtime_error.h"
#include "text/text_file_writer.h"
#include "text/trim.h"

namespace parquill {

Outcome AttachLotNumbers(const AttachRequest& request, AttachSummary* summary) {
  const OutputFileNames names = OutputFileNamesFor(request.outputName);
  if (NamesSameFile(names.mid, request.dxfPath) || NamesSameFile(names.mif, request.dxfPath)) {
    return Outcome::Refused(OutputIsInputRefusal());
  }

  ChibanTextRead read = ReadChibanTexts(request.dxfPath, request.selection, request.encoding);
  if (read.failed) return {OutcomeKind::kRefused, 0, read.messages};
  Outcome outcome;
  outcome.messages = read.messages;  // a trap inside the reader: shown, then the step goes on
  if (summary) summary->texts = static_cast<int>(read.texts.size());

  try {
    LineReader mif(names.mif);
    TextFileWriter mid(names.mid, TextEncoding::kCp932);
    RegionRing ring;
    std::int32_t region = 0;
    int withNumber = 0;
    while (ReadNextRegionRing(mif, ring)) {
      // The ring's last point repeats its first and is not passed.
      std::int16_t tested = ToInt16(static_cast<double>(ring.count) - 1);
      const ChibanText* found = nullptr;
      for (const ChibanText& text : read.texts) {
        if (survey::InPolygon(tested, ring.x.data() + 1, ring.y.data() + 1, text.x, text.y) <= 0) {
          found = &text;
          break;
        }
      }
      ++region;
      std::string line = std::to_string(region) + ",";
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
    outcome.messages.push_back({TrapText(error), "TESSARO"});
  } catch (const std::bad_alloc&) {
    RuntimeError error(kOutOfMemory);
    outcome.kind = OutcomeKind::kTrapped;
    outcome.errorNumber = error.number();
    outcome.messages.push_back({TrapText(error), "TESSARO"});
  }
  return outcome;
}

}  // namespace parquill
