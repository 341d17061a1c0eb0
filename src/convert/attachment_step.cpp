#include "convert/attachment_step.h"

#include <algorithm>
#include <string>

#include "base/limits.h"
#include "base/number_text.h"
#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "base/trim.h"
#include "dxf/chiban_text_reader.h"
#include "dxf/dxf_version.h"
#include "dxf/line_work_reader.h"
#include "mif/lot_mif_writer.h"

namespace parquill {
namespace {

// A lot's exterior ring as two arrays, as the point-in-polygon test takes it.
struct RingArrays {
  std::vector<double> x;
  std::vector<double> y;
};

// What the report keeps of one region.
ReportRegion RegionFound(int number, const RingArrays& ring, std::vector<std::size_t> inside,
                         const std::vector<ChibanText>& texts) {
  ReportRegion region;
  region.number = number;
  for (std::size_t k = 0; k < ring.x.size(); ++k) region.ring.push_back({ring.x[k], ring.y[k]});
  region.textsInside = std::move(inside);
  if (region.textsInside.empty()) {
    if (!region.ring.empty()) {
      auto [minX, maxX] = std::minmax_element(ring.x.begin(), ring.x.end());
      auto [minY, maxY] = std::minmax_element(ring.y.begin(), ring.y.end());
      region.label = {(*minX + *maxX) / 2, (*minY + *maxY) / 2};
    }
    return region;
  }
  const ChibanText& winner = texts[region.textsInside.front()];
  region.chiban = std::string(TrimBlanks(winner.text));
  region.label = {winner.x, winner.y};
  region.outcome = region.textsInside.size() > 1 ? RegionOutcome::kSeveralTexts
                   : region.chiban.empty()       ? RegionOutcome::kNoChiban
                                                 : RegionOutcome::kNumbered;
  return region;
}

}  // namespace

Outcome AttachChibans(const ConversionChoices& choices, LotModel& lots, AttachSummary* summary,
                      StepHost* host) {
  const OutputFileNames names = OutputFileNamesFor(choices.output);
  if (NamesSameFile(names.mid, choices.drawing) || NamesSameFile(names.mif, choices.drawing)) {
    return Outcome::Refused(OutputIsInputRefusal());
  }
  ChibanTextRead read =
      choices.fromLines
          ? ReadLineWorkTexts(choices.drawing, choices.chiban, choices.reading(), true)
          : ReadChibanTexts(choices.drawing, choices.chiban, choices.reading(), kChibanTextCapacity,
                            host);
  if (read.failed) return {OutcomeKind::kRefused, 0, read.messages};
  // Lots drawn as lines take each lot number by the middle of its text.
  for (std::size_t k = 0; k < read.centres.size() && choices.fromLines; ++k) {
    read.texts[k].x = read.centres[k].x;
    read.texts[k].y = read.centres[k].y;
  }

  AttachSummary attached;
  attached.textCount = static_cast<int>(read.texts.size());
  attached.textsWhole = read.trappedError == 0;
  attached.endsWithoutEof = EndsWithoutEof(choices.drawing);
  attached.utf8AgainstHeader = choices.utf8AgainstHeader;
  attached.millimetres = choices.millimetres;
  attached.askewTexts = read.askewTexts;
  if (choices.report)
    CheckTextLayerSelection(choices.chiban, choices.drawing, attached.chibanLayer);
  if (choices.report && !choices.fromLines) {
    const ChibanTextRead asEntities =
        ReadLineWorkTexts(choices.drawing, choices.chiban, choices.reading());
    attached.textsAsEntities = asEntities.texts;
    attached.centresAsEntities = asEntities.centres;
    attached.attribsNotRead = asEntities.attribsSkipped;
    attached.blockTextsNotRead = asEntities.blockTextsSkipped;
    attached.textsWhole = attached.textsWhole && !asEntities.failed && asEntities.trappedError == 0;
  }
  Outcome outcome = TrapRunTimeErrors(kSurveyTrapTitle, [&] {
    ChibanTextIndex index(read.texts);
    TextFileWriter mid(names.mid, TextEncoding::kCp932);
    RingArrays ring;  // reused from lot to lot
    for (std::size_t l = 0; l < lots.lots.size(); ++l) {
      const LotModel::Ring& exterior = lots.ExteriorOf(l);
      if (exterior.pointCount > static_cast<std::uint32_t>(kRingCapacity)) {
        throw RuntimeError(kSubscriptOutOfRange);
      }
      ring.x.clear();
      ring.y.clear();
      for (std::uint32_t k = 0; k < exterior.pointCount; ++k) {
        ring.x.push_back(lots.points[exterior.firstPoint + k].x);
        ring.y.push_back(lots.points[exterior.firstPoint + k].y);
      }
      // The ring's last point repeats its first and is not passed.
      const auto tested = static_cast<std::int16_t>(exterior.pointCount - 1);
      const ChibanText* found = nullptr;
      if (choices.report) {
        std::vector<std::size_t> inside = index.AllInside(tested, ring.x.data(), ring.y.data());
        if (!inside.empty()) found = &read.texts[inside.front()];
        attached.regionList.push_back(
            RegionFound(attached.regions + 1, ring, std::move(inside), read.texts));
      } else {
        found = index.FirstInside(tested, ring.x.data(), ring.y.data());
      }
      ++attached.regions;
      if (found != nullptr) ++attached.regionsWithNumber;
      const std::string_view chiban = found ? TrimBlanks(found->text) : std::string_view();
      if (choices.report && CharactersWrittenAsQuestionMarks(chiban, TextEncoding::kCp932) > 0)
        attached.regionsBeyondCp932.push_back(attached.regions);
      lots.Value(l, 0) = chiban;
    }
    WriteLotsMid(mid, lots);
    mid.Close();
    return Outcome::Done();
  });
  // A trap inside the text reader: its box comes first, then the step's own.
  outcome.messages.insert(outcome.messages.begin(), read.messages.begin(), read.messages.end());
  if (choices.report) attached.texts = std::move(read.texts);
  if (summary != nullptr) *summary = std::move(attached);
  return outcome;
}

}  // namespace parquill
