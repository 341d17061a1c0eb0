#include <atomic>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/batch_progress.h"
#include "cli/cli_support.h"
#include "cli/command_options.h"
#include "mapxml/mapxml_conversion.h"

namespace parquill::cli {
namespace {

std::atomic<bool> interrupted = false;
std::atomic<int> interruption = 0;  // the signal that stopped the batch
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

// Ctrl+C (or a kill) ends the batch with the files being converted, so that
// none is left half-written; a second one ends it at once. A signal the
// shell had us ignore (a background job) stays ignored.
void CatchInterruptions() {
  struct sigaction caught {};
  caught.sa_handler = [](int signal) {
    interruption = signal;
    interrupted = true;
  };
  caught.sa_flags = SA_RESETHAND;
  sigemptyset(&caught.sa_mask);
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction before {};
    if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN) {
      sigaction(signal, &caught, nullptr);
    }
  }
}

}  // namespace

// parquill-cli mapxml: the registry's 地図XML files (or their ZIPs, or
// folders of them) to SIMA, MIF/MID and DXF, every lot or the lots asked
// for, one line per file, then the totals.
int RunMapXmlCommand(const std::vector<std::string>& args) {
  mapxml::MapXmlOptions options;
  options.jobs = UsableCores();
  std::string datum, formats, unit, jobs;
  std::vector<std::string> inputs;
  int status = kExitUsage;
  // "-jN" is "-j N".
  std::vector<std::string> split;
  for (const std::string& arg : args) {
    const bool joined = arg.starts_with("-j") && arg.size() > 2;
    split.push_back(joined ? "-j" : arg);
    if (joined) split.push_back(arg.substr(2));
  }
  if (!ParseCommandOptions(split,
                           {{"--output", &options.outputFolder},
                            {"--datum", &datum},
                            {"--report", nullptr, nullptr, &options.report},
                            {"--include-outside", nullptr, nullptr, &options.includeOutside},
                            {"--chiban", nullptr, &options.site.chibans},
                            {"--oaza", &options.site.oaza},
                            {"--neighbours", nullptr, nullptr, &options.site.neighbours},
                            {"--format", &formats},
                            {"--unit", &unit},
                            {"-j", &jobs},
                            {"--resume", nullptr, nullptr, &options.resume}},
                           inputs, status) ||
      !TakeDatum(datum, options.datum, status) || !TakeUnit(unit, options.millimetres, status) ||
      !TakeFormats(formats, options.formats, status)) {
    return status;
  }
  if (!jobs.empty()) {
    if (jobs.size() > 3 || jobs.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(jobs) < 1) {
      return UsageError("-j には 1 以上の数 (同時に変換するファイル数) を指定してください。");
    }
    options.jobs = std::stoi(jobs);
  }
  if (inputs.empty()) return UsageError("mapxml には地図XML、ZIP またはフォルダが必要です。");
  if (options.site.chibans.empty() && (!options.site.oaza.empty() || options.site.neighbours)) {
    return UsageError("--oaza と --neighbours には --chiban が必要です。");
  }
  std::error_code error;
  std::filesystem::create_directories(options.outputFolder, error);

  CatchInterruptions();
  options.interrupted = &interrupted;
  ProgressLine progress;
  const mapxml::MapXmlTotals totals = mapxml::ConvertMapXml(
      inputs, options,
      [&progress](const mapxml::MapXmlFileOutcome& outcome) {
        progress.Clear();
        PrintLine(outcome.failed ? std::cerr : std::cout, outcome.line);
        for (const std::string& finding : outcome.findings) PrintLine(std::cout, finding);
      },
      progress.shown() ? [&progress](const mapxml::MapXmlProgress& now) { progress.Show(now); }
                       : std::function<void(const mapxml::MapXmlProgress&)>());
  progress.Clear();
  PrintLine(std::cout, mapxml::TotalsLine(totals));
  if (totals.interrupted) {
    PrintLine(std::cerr,
              "中断しました。書き終えたファイルはそのまま残っています。続きは同じコマンドに "
              "--resume を付けて変換できます。");
    return 128 + interruption;
  }
  return totals.failed > 0 ? kExitTrapped : kExitDone;
}

}  // namespace parquill::cli
