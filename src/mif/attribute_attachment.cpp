#include "mif/attribute_attachment.h"

#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "dxf/chiban_text_reader.h"
#include "geometry/chiban_text_index.h"
#include "mif/region_ring_reader.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "base/trim.h"

namespace parquill {

namespace {

std::optional<Message> CheckOutputNames(const AttachRequest& request) {
  const OutputFileNames names = OutputFileNamesFor(request.outputName);
  if (NamesSameFile(names.mid, request.dxfPath) || NamesSameFile(names.mif, request.dxfPath)) {
    return OutputIsInputRefusal();
  }
  return std::nullopt;
}

}  // namespace

Outcome AttachLotNumbers(const AttachRequest& request, AttachSummary* summary) {
  if (auto refusal = CheckOutputNames(request)) return Outcome::Refused(*refusal);
  return AttachLotNumbers(
      request, ReadChibanTexts(request.dxfPath, request.selection, request.encoding), summary);
}

PreparedChibanTexts::PreparedChibanTexts(ChibanTextRead read, SearchStrategy search)
    : read_(std::make_unique<ChibanTextRead>(std::move(read))),
      index_(std::make_unique<ChibanTextIndex>(read_->texts, search)) {}

Outcome AttachLotNumbers(const AttachRequest& request, ChibanTextRead read,
                         AttachSummary* summary) {
  if (auto refusal = CheckOutputNames(request)) return Outcome::Refused(*refusal);
  if (read.failed) return {OutcomeKind::kRefused, 0, read.messages};
  std::vector<Message> readMessages = read.messages;
  std::optional<PreparedChibanTexts> prepared;
  try {
    prepared.emplace(std::move(read), request.search);
  } catch (const std::bad_alloc&) {
    RuntimeError error(kOutOfMemory);
    readMessages.push_back({TrapText(error), "TESSARO"});
    return {OutcomeKind::kTrapped, error.number(), readMessages};
  }
  return AttachLotNumbers(request, std::move(*prepared), summary);
}

Outcome AttachLotNumbers(const AttachRequest& request, PreparedChibanTexts prepared,
                         AttachSummary* summary, const WrittenRegions* written) {
  if (auto refusal = CheckOutputNames(request)) return Outcome::Refused(*refusal);
  const OutputFileNames names = OutputFileNamesFor(request.outputName);
  const ChibanTextRead& read = prepared.read();
  if (read.failed) return {OutcomeKind::kRefused, 0, read.messages};
  Outcome outcome;
  outcome.messages = read.messages;  // a trap inside the reader: shown, then the step goes on
  if (summary) summary->texts = static_cast<int>(read.texts.size());

  try {
    // The regions as the builder wrote them, when it kept them all; the MIF
    // file otherwise, opened before the MID file is made.
    const bool fromWritten = written != nullptr && written->complete();
    std::optional<LineReader> mif;
    if (!fromWritten) mif.emplace(names.mif);
    TextFileWriter mid(names.mid, TextEncoding::kCp932);
    ChibanTextIndex& texts = prepared.index();
    std::int32_t region = 0;
    int withNumber = 0;
    std::string line;  // reused from region to region
    // One region's ring of `count` points: its last point repeats its first
    // and is not passed.
    auto attach = [&](std::int16_t count, const double* x, const double* y) {
      std::int16_t tested = ToInt16(static_cast<double>(count) - 1);
      const ChibanText* found = texts.FirstInside(tested, x, y);
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
    };
    if (fromWritten) {
      WrittenRegions::Region ring;
      for (std::size_t index = 0; written->WaitFor(index, ring); ++index) {
        if (ring.count > RegionRing::kCapacity) throw RuntimeError(kSubscriptOutOfRange);
        attach(ToInt16(ring.count), ring.x, ring.y);
      }
    } else {
      RegionRing ring;
      while (ReadNextRegionRing(*mif, ring)) {
        attach(ring.count, ring.x.data() + 1, ring.y.data() + 1);
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
