#include <cstdlib>
#include <iostream>
#include <optional>
#include <utility>

#include "base/output_file_names.h"
#include "base/text_codec.h"
#include "cli/cli_support.h"
#include "cli/command_options.h"
#include "convert/conversion_run.h"
#include "convert/layer_list_step.h"
#include "convert/version_check_step.h"
#include "mif/plane_zone.h"

namespace parquill::cli {
namespace {

// The command's arguments: the choices they give, and the layers by name.
struct ConvertArguments {
  ConversionChoices choices;
  std::vector<std::string> boundaries;
  std::string chiban;
  std::string output;
};

std::optional<ConvertArguments> ParseArguments(const std::vector<std::string>& args, int& status) {
  ConvertArguments parsed;
  ConversionChoices& choices = parsed.choices;
  std::string zone, datum, unit;
  bool keepXY = false;
  std::vector<std::string> drawings;
  if (!ParseCommandOptions(args,
                           {{"--boundary", nullptr, &parsed.boundaries},
                            {"--text", &parsed.chiban},
                            {"--output", &parsed.output},
                            {"--zone", &zone},
                            {"--datum", &datum},
                            {"--unit", &unit},
                            {"--report", nullptr, nullptr, &choices.report},
                            {"--no-swap", nullptr, nullptr, &keepXY},
                            {"--from-lines", nullptr, nullptr, &choices.fromLines}},
                           drawings, status) ||
      !TakeDatum(datum, choices.datum, status) || !TakeUnit(unit, choices.millimetres, status)) {
    return std::nullopt;
  }
  choices.swapXY = !keepXY;
  choices.planeZone = std::atoi(zone.c_str());
  std::string problem;
  if (!zone.empty() &&
      (!IsPlaneZone(choices.planeZone) || std::to_string(choices.planeZone) != zone)) {
    problem = "--zone には 1 から 19 の系の番号が必要です。";
  } else if (drawings.size() > 1) {
    problem = "図面ファイルは 1 つだけ指定してください: " + drawings[1];
  } else if (drawings.empty() || parsed.boundaries.empty() || parsed.chiban.empty()) {
    problem = "convert には図面、--boundary と --text が必要です。";
  }
  if (!problem.empty()) {
    status = UsageError(problem);
    return std::nullopt;
  }
  choices.drawing = drawings[0];
  return parsed;
}

// Selects the named items in the list as a user would click them; the
// current item is the last one named.
std::optional<LayerSelection> Select(const std::vector<std::string>& items,
                                     const std::vector<std::string>& names, int& status) {
  LayerSelection selection{items, std::vector<bool>(items.size(), false), -1};
  for (const std::string& name : names) {
    std::size_t index = 0;
    // Named as `layers` prints them.
    while (index < items.size() && ShowEscapedBytes(items[index]) != name) ++index;
    if (index == items.size()) {
      std::string known;
      for (const std::string& item : items) {
        known += (known.empty() ? "" : ", ") + ShowEscapedBytes(item);
      }
      status = UsageError("レイヤ「" + name + "」は図面のレイヤ一覧にありません。一覧: " + known);
      return std::nullopt;
    }
    selection.selected[index] = true;
    selection.listIndex = static_cast<int>(index);
  }
  return selection;
}

}  // namespace

// parquill-cli convert: the whole job of the window, from the drawing to the
// SIMA file, with the choices given on the command line.
int RunConvertCommand(const std::vector<std::string>& args) {
  int status = kExitUsage;
  std::optional<ConvertArguments> parsed = ParseArguments(args, status);
  if (!parsed) return status;
  ConversionChoices& choices = parsed->choices;
  const DxfVersionVerdict verdict = CheckDxfVersion(choices);
  choices.ReadTextAs(verdict);
  LayerNameList list;
  StepHost quiet;
  Outcome layers = ReadLayerList(choices, verdict, list, quiet);
  if (!layers.done()) return ReportOutcome(layers);

  std::optional<LayerSelection> boundary = Select(list.items, parsed->boundaries, status);
  if (!boundary) return status;
  std::optional<LayerSelection> chiban = Select(list.items, {parsed->chiban}, status);
  if (!chiban) return status;
  choices.boundary = std::move(*boundary);
  choices.chiban = std::move(*chiban);
  choices.output = parsed->output.empty() ? ProposedOutputPath(choices.drawing) : parsed->output;

  const ConversionRun run = RunConversion(choices, quiet);
  // A drawing cut short is told whatever the run did; the status stays.
  if (run.built.endsWithoutEof) PrintLine(std::cerr, FindingLine(DrawingCutFinding()));
  // No region is no failure of the run, but never passed over in silence.
  if (run.regions.done() && run.built.regionsWritten == 0) {
    PrintLine(std::cerr, "警告: 領域が 1 つもありません: " + NoRegionsReason(run.built));
  }
  if (!run.chibans) return ReportOutcome(run.regions);
  const ChibanRun& lots = *run.chibans;
  int attachStatus = ReportOutcome(lots.attachment);
  if (!lots.conversion) return attachStatus;
  // A done attachment with a message: the text reader trapped an error and
  // the run went on with the texts read, as the window does. The command line
  // still says so in its status.
  if (!lots.attachment.messages.empty()) attachStatus = kExitTrapped;
  const int conversionStatus = ReportOutcome(*lots.conversion);
  if (!lots.conversion->done()) return conversionStatus;
  if (attachStatus != kExitDone) return attachStatus;

  PrintLine(std::cout, "領域 " + std::to_string(lots.attached.regions) + "（地番あり " +
                           std::to_string(lots.attached.regionsWithNumber) + "）、座標点 " +
                           std::to_string(lots.converted.points) + "、出力 " + choices.output);
  if (run.report) {
    if (IsPlaneZone(choices.planeZone)) {
      PrintLine(std::cout, "座標系: " + PlaneZoneName(choices.planeZone));
    }
    for (const ReportFinding& finding : run.report->findings) {
      PrintLine(std::cout, FindingLine(finding));
    }
  }
  return kExitDone;
}

}  // namespace parquill::cli
