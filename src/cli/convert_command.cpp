#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <utility>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "cli/cli_support.h"
#include "convert/attachment_step.h"
#include "convert/conversion_report.h"
#include "convert/lots_from_lines_step.h"
#include "convert/region_build_step.h"
#include "convert/sima_conversion_step.h"
#include "convert/version_check_step.h"
#include "dxf/chiban_text_reader.h"
#include "dxf/layer_list_reader.h"
#include "dxf/line_work_reader.h"
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
  int planeZone = kNoPlaneZone;  // --zone: 1 to 19
  bool fromLines = false;        // lots drawn as lines rather than closed polylines
  // --linear-search (not in the help): every search scans from the start, as
  // the reference the indexes are timed and checked against.
  SearchStrategy search = SearchStrategy::kIndexed;
};

class ItemList : public LayerListSink {
 public:
  void Clear() override { items.clear(); }
  void Add(const std::string& item) override { items.push_back(item); }
  std::vector<std::string> items;
};

// The output name the window proposes: beside the drawing, named after it.
std::string ProposedOutputName(const std::string& drawing) {
  std::filesystem::path path(drawing);
  const std::string proposed = ProposedOutputFileName(path.filename().string());
  return path.has_parent_path() ? (path.parent_path() / proposed).string() : proposed;
}

std::optional<ConvertOptions> ParseOptions(const std::vector<std::string>& args, int& status) {
  ConvertOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string* {
      if (i + 1 >= args.size()) return nullptr;
      return &args[++i];
    };
    if (arg == "--zone") {
      const std::string* v = value();
      int zone = 0;
      if (v == nullptr ||
          std::from_chars(v->data(), v->data() + v->size(), zone).ptr != v->data() + v->size() ||
          !IsPlaneZone(zone)) {
        status = UsageError("--zone には 1 から 19 の系の番号が必要です。");
        return std::nullopt;
      }
      options.planeZone = zone;
    } else if (arg == "--boundary" || arg == "--text" || arg == "--output") {
      const std::string* v = value();
      if (v == nullptr) {
        status = UsageError(arg + " には値が必要です。");
        return std::nullopt;
      }
      if (arg == "--boundary") options.boundaries.push_back(*v);
      if (arg == "--text") options.text = *v;
      if (arg == "--output") options.output = *v;
    } else if (arg == "--no-swap") {
      options.swap = false;
    } else if (arg == "--report") {
      options.report = true;
    } else if (arg == "--from-lines") {
      options.fromLines = true;
    } else if (arg == "--linear-search") {
      options.search = SearchStrategy::kLinear;
    } else if (arg.starts_with("--")) {
      status = UsageError("知らないオプションです: " + arg);
      return std::nullopt;
    } else if (options.drawing.empty()) {
      options.drawing = arg;
    } else {
      status = UsageError("図面ファイルは 1 つだけ指定してください: " + arg);
      return std::nullopt;
    }
  }
  if (options.drawing.empty() || options.boundaries.empty() || !options.text) {
    status = UsageError("convert には図面、--boundary と --text が必要です。");
    return std::nullopt;
  }
  return options;
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

  DxfVersionVerdict verdict = CheckDxfVersion(options->drawing);
  ItemList list;
  StepHost quiet;
  const LayerListRequest listRequest{verdict.code, verdict.name, options->drawing};
  Outcome layers = options->fromLines ? ReadLineWorkLayerList(listRequest, list)
                                      : ReadLayerList(listRequest, list, quiet);
  if (!layers.done()) return ReportOutcome(layers);

  std::optional<LayerSelection> boundary = Select(list.items, options->boundaries, status);
  if (!boundary) return status;
  std::optional<LayerSelection> text = Select(list.items, {*options->text}, status);
  if (!text) return status;

  const std::string output = options->output.value_or(ProposedOutputName(options->drawing));
  const TextEncoding encoding = DxfTextEncoding(verdict.code);

  // The window's steps, one after the other, with the choices given here.
  RegionBuildSummary built;
  LotsFromLinesSummary fromLines;
  Outcome regions =
      options->fromLines
          ? BuildRegionsFromLines(
                {options->drawing, output, *boundary, *text, encoding, options->planeZone},
                &fromLines)
          : BuildRegions({options->drawing, output, *boundary, encoding, options->planeZone},
                         &built);
  if (!regions.done()) return ReportOutcome(regions);

  AttachSummary attached;
  Outcome attach = AttachLotNumbers(
      {options->drawing, output, *text, encoding, options->search, options->fromLines}, &attached);
  int attachStatus = ReportOutcome(attach);
  if (!attach.done()) return attachStatus;
  // A done attachment with a message: the text reader trapped an error and
  // the run went on with the texts read, as the window does. The command line
  // still says so in its status.
  if (!attach.messages.empty()) attachStatus = kExitTrapped;

  ConversionSummary converted;
  QuietHost host(options->swap);
  Outcome conversion =
      ConvertMifToSima({options->drawing, output, options->search}, host, &converted);
  int conversionStatus = ReportOutcome(conversion);
  if (!conversion.done()) return conversionStatus;
  if (attachStatus != kExitDone) return attachStatus;

  PrintText(std::cout, "領域 " + std::to_string(attached.regions) + "（地番あり " +
                           std::to_string(attached.regionsWithNumber) + "）、座標点 " +
                           std::to_string(converted.points) + "、出力 " + output);
  std::cout << '\n';
  if (options->report) {
    if (IsPlaneZone(options->planeZone)) {
      PrintText(std::cout, "座標系: " + PlaneZoneName(options->planeZone));
      std::cout << '\n';
    }
    ConversionReport report =
        MakeConversionReport(options->drawing, OutputFileNamesFor(output).mif, *text, encoding,
                             built, options->fromLines ? &fromLines : nullptr);
    for (const ReportFinding& finding : report.findings) {
      PrintText(std::cout, FindingLine(finding));
      std::cout << '\n';
    }
  }
  return kExitDone;
}

}  // namespace parquill::cli
