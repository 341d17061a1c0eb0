#include <filesystem>
#include <future>
#include <iostream>
#include <optional>
#include <utility>

#include "cli/cli_support.h"
#include "dxf/chiban_text_reader.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_list_reader.h"
#include "mif/attribute_attachment.h"
#include "mif/conversion_report.h"
#include "mif/region_builder.h"
#include "sima/mif_to_sima_conversion.h"
#include "survey/survey.h"
#include "text/growing_file.h"
#include "text/output_file_names.h"
#include "text/runtime_error.h"
#include "text/work_alongside.h"

namespace parquill::cli {
namespace {

struct ConvertOptions {
  std::string drawing;
  std::vector<std::string> boundaries;
  std::optional<std::string> text;
  std::optional<std::string> output;
  bool swap = true;
  bool report = false;
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

// The output name the window proposes: the drawing's folder joined with its
// file name up to and including the first ".", followed by "Sim".
std::string ProposedOutputName(const std::string& drawing) {
  std::filesystem::path path(drawing);
  std::string name = path.filename().string();
  std::size_t dot = name.find('.');
  std::string proposed =
      (dot == std::string::npos ? std::string() : name.substr(0, dot + 1)) + "Sim";
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
    if (arg == "--boundary" || arg == "--text" || arg == "--output") {
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
    while (index < items.size() && items[index] != name) ++index;
    if (index == items.size()) {
      std::string known;
      for (const std::string& item : items) known += (known.empty() ? "" : ", ") + item;
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

  DxfVersionVerdict verdict = ClassifyDxfVersion(survey::DXFVer(options->drawing));
  ItemList list;
  StepHost quiet;
  Outcome layers = ReadLayerList({verdict.code, verdict.name, options->drawing}, list, quiet);
  if (!layers.done()) return ReportOutcome(layers);

  std::optional<LayerSelection> boundary = Select(list.items, options->boundaries, status);
  if (!boundary) return status;
  std::optional<LayerSelection> text = Select(list.items, {*options->text}, status);
  if (!text) return status;

  const std::string output = options->output.value_or(ProposedOutputName(options->drawing));
  const TextEncoding encoding = DxfTextEncoding(verdict.code);

  // The second thread reads the lot-number texts while the regions are built,
  // then makes the SIMA conversion's first reading of the MIF file, following
  // the regions while the region builder writes them and going on while the
  // lot numbers are attached (the attachment writes only the MID file). Both
  // take the regions as the builder keeps them for them (the very points a
  // reading of the file gets), and read the file only when the builder gave
  // them up. The window's order of steps and messages stays: a failed region
  // build drops both, and the reading's messages come after the attachment's.
  // Where the MID file names the MIF file itself, the conversion reads the MIF
  // file after the attachment, as the window does.
  const ConversionRequest conversionRequest{options->drawing, output, options->search};
  QuietHost host(options->swap);
  const OutputFileNames outputNames = OutputFileNamesFor(output);
  const bool readMifAhead = !NamesSameFile(outputNames.mif, outputNames.mid);
  GrowingFile mifProgress;
  WrittenRegions writtenRegions;
  std::promise<ChibanTextRead> textsRead;
  std::future<ChibanTextRead> texts = textsRead.get_future();
  WorkAlongside<std::optional<PreparedMifReading>> secondThread(
      [&, &drawing = options->drawing, &selection = *text, swap = options->swap] {
        try {
          textsRead.set_value(ReadChibanTexts(drawing, selection, encoding));
        } catch (...) {
          textsRead.set_exception(std::current_exception());
        }
        std::optional<PreparedMifReading> prepared;
        if (readMifAhead) {
          QuietHost readingHost(swap);
          prepared.emplace(
              PrepareMifReading(conversionRequest, readingHost, &mifProgress, &writtenRegions));
        }
        return prepared;
      });
  // However the build ends, the reading that follows the MIF file is not left
  // waiting for it.
  struct FinishWhenLeaving {
    GrowingFile& file;
    WrittenRegions& regions;
    ~FinishWhenLeaving() {
      file.Finished();
      regions.Finished();
    }
  } finishWhenLeaving{mifProgress, writtenRegions};

  RegionBuildSummary built;
  RegionBuildRequest buildRequest{options->drawing,
                                  output,
                                  *boundary,
                                  encoding,
                                  readMifAhead ? &mifProgress : nullptr,
                                  readMifAhead ? &writtenRegions : nullptr};
  Outcome regions = BuildRegions(buildRequest, &built);
  mifProgress.Finished();
  if (!regions.done()) return ReportOutcome(regions);
  // Without a second thread, its work is done here, now that the MIF file is complete.
  std::optional<PreparedMifReading> firstReading;
  if (!secondThread.Alongside()) firstReading = secondThread.Take();

  AttachSummary attached;
  AttachRequest attachRequest{options->drawing, output, *text, encoding, options->search};
  std::optional<PreparedChibanTexts> textsPrepared;
  try {
    textsPrepared.emplace(texts.get(), options->search);  // the texts and their search index
  } catch (const std::bad_alloc&) {
    return ReportOutcome(Outcome::Trapped(RuntimeError(kOutOfMemory), "TESSARO"));
  }
  Outcome attach = AttachLotNumbers(attachRequest, std::move(*textsPrepared), &attached,
                                    readMifAhead ? &writtenRegions : nullptr);
  int attachStatus = ReportOutcome(attach);
  if (!attach.done()) return attachStatus;
  // A done attachment with a message: the text reader trapped an error and
  // the run went on with the texts read, as the window does. The command line
  // still says so in its status.
  if (!attach.messages.empty()) attachStatus = kExitTrapped;

  ConversionSummary converted;
  if (secondThread.Alongside()) firstReading = secondThread.Take();
  Outcome conversion =
      firstReading ? ConvertMifToSima(conversionRequest, host, &converted, std::move(*firstReading))
                   : ConvertMifToSima(conversionRequest, host, &converted);
  int conversionStatus = ReportOutcome(conversion);
  if (!conversion.done()) return conversionStatus;
  if (attachStatus != kExitDone) return attachStatus;

  PrintText(std::cout, "領域 " + std::to_string(attached.regions) + "（地番あり " +
                           std::to_string(attached.regionsWithNumber) + "）、座標点 " +
                           std::to_string(converted.points) + "、出力 " + output);
  std::cout << '\n';
  if (options->report) {
    ConversionReport report = MakeConversionReport(options->drawing, OutputFileNamesFor(output).mif,
                                                   *text, encoding, built);
    for (const ReportFinding& finding : report.findings) {
      PrintText(std::cout, FindingLine(finding));
      std::cout << '\n';
    }
  }
  return kExitDone;
}

}  // namespace parquill::cli
