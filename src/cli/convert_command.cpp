#include <cstdlib>
#include <iostream>
#include <optional>
#include <utility>

#include "base/output_file_names.h"
#include "base/text_codec.h"
#include "cli/cli_support.h"
#include "convert/conversion_run.h"
#include "convert/layer_list_step.h"
#include "convert/version_check_step.h"
#include "mif/plane_zone.h"

namespace parquill::cli {
namespace {

struct ConvertOptions {
  std::string drawing;
  std::vector<std::string> boundaries;
  std::optional<std::string> text;
  std::optional<std::string> output;
  bool swap = true;
  bool report = false;
  int planeZone = kNoPlaneZone;             // --zone: 1 to 19
  PlaneDatum datum = PlaneDatum::kJgd2011;  // --datum
  bool fromLines = false;                   // lots drawn as lines rather than closed polylines
  bool millimetres = false;                 // --unit mm
};

std::optional<ConvertOptions> ParseOptions(const std::vector<std::string>& args, int& status) {
  ConvertOptions options;
  std::string problem;
  for (std::size_t i = 0; i < args.size() && problem.empty(); ++i) {
    const std::string& arg = args[i];
    const bool valued = arg == "--boundary" || arg == "--text" || arg == "--output" ||
                        arg == "--zone" || arg == "--datum" || arg == "--unit";
    if (valued && i + 1 == args.size()) {
      problem = arg + " には値が必要です。";
      break;
    }
    const std::string value = valued ? args[++i] : std::string();
    if (arg == "--boundary") {
      options.boundaries.push_back(value);
    } else if (arg == "--text") {
      options.text = value;
    } else if (arg == "--output") {
      options.output = value;
    } else if (arg == "--zone") {
      options.planeZone = std::atoi(value.c_str());
      if (!IsPlaneZone(options.planeZone) || std::to_string(options.planeZone) != value) {
        problem = "--zone には 1 から 19 の系の番号が必要です。";
      }
    } else if (arg == "--datum") {
      if (value == PlaneDatumName(PlaneDatum::kJgd2011)) {
        options.datum = PlaneDatum::kJgd2011;
      } else if (value == PlaneDatumName(PlaneDatum::kJgd2000)) {
        options.datum = PlaneDatum::kJgd2000;
      } else {
        problem = "--datum には jgd2011 か jgd2000 を指定してください。";
      }
    } else if (arg == "--unit") {
      options.millimetres = value == "mm";
      if (value != "mm" && value != "m") problem = "--unit には mm か m が必要です。";
    } else if (arg == "--no-swap") {
      options.swap = false;
    } else if (arg == "--report") {
      options.report = true;
    } else if (arg == "--from-lines") {
      options.fromLines = true;
    } else if (arg.starts_with("--")) {
      problem = "知らないオプションです: " + arg;
    } else if (options.drawing.empty()) {
      options.drawing = arg;
    } else {
      problem = "図面ファイルは 1 つだけ指定してください: " + arg;
    }
  }
  if (problem.empty() && (options.drawing.empty() || options.boundaries.empty() || !options.text)) {
    problem = "convert には図面、--boundary と --text が必要です。";
  }
  if (problem.empty()) return options;
  status = UsageError(problem);
  return std::nullopt;
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
  std::optional<ConvertOptions> options = ParseOptions(args, status);
  if (!options) return status;

  ConversionChoices choices;
  choices.drawing = options->drawing;
  choices.fromLines = options->fromLines;
  const DxfVersionVerdict verdict = CheckDxfVersion(choices);
  choices.ReadTextAs(verdict);
  LayerNameList list;
  StepHost quiet;
  Outcome layers = ReadLayerList(choices, verdict, list, quiet);
  if (!layers.done()) return ReportOutcome(layers);

  std::optional<LayerSelection> boundary = Select(list.items, options->boundaries, status);
  if (!boundary) return status;
  std::optional<LayerSelection> chiban = Select(list.items, {*options->text}, status);
  if (!chiban) return status;
  choices.boundary = std::move(*boundary);
  choices.chiban = std::move(*chiban);
  choices.output = options->output.value_or(ProposedOutputPath(options->drawing));
  choices.swapXY = options->swap;
  choices.planeZone = options->planeZone;
  choices.datum = options->datum;
  choices.report = options->report;
  choices.millimetres = options->millimetres;

  const ConversionRun run = RunConversion(choices, quiet);
  // A drawing cut short is told whatever the run did; the status stays.
  if (run.built.endsWithoutEof) PrintLine(std::cerr, FindingLine(DrawingCutFinding()));
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
