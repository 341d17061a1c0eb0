#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/batch_progress.h"
#include "cli/cli_support.h"
#include "mapxml/mapxml_conversion.h"

namespace parquill::cli {

// parquill-cli mapxml: the registry's 地図XML files (or their ZIPs, or
// folders of them) to SIMA and MIF/MID, one line per file, then the totals.
int RunMapXmlCommand(const std::vector<std::string>& args) {
  mapxml::MapXmlOptions options;
  options.jobs = UsableCores();
  std::vector<std::string> inputs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool valued = arg == "--output" || arg == "--datum" || arg == "-j";
    if (valued && i + 1 == args.size()) return UsageError(arg + " には値が必要です。");
    if (arg == "--output") {
      options.outputFolder = args[++i];
    } else if (arg == "--datum") {
      const std::string& datum = args[++i];
      if (datum != "jgd2011" && datum != "jgd2000") {
        return UsageError("--datum には jgd2011 か jgd2000 を指定してください。");
      }
      options.datum = datum == "jgd2011" ? PlaneDatum::kJgd2011 : PlaneDatum::kJgd2000;
    } else if (arg == "--include-outside") {
      options.includeOutside = true;
    } else if (arg == "--report") {
      options.report = true;
    } else if (arg.starts_with("-j")) {
      const std::string jobs = arg == "-j" ? args[++i] : arg.substr(2);
      if (jobs.empty() || jobs.size() > 3 ||
          jobs.find_first_not_of("0123456789") != std::string::npos || std::stoi(jobs) < 1) {
        return UsageError("-j には 1 以上の数 (同時に変換するファイル数) を指定してください。");
      }
      options.jobs = std::stoi(jobs);
    } else if (arg == "--resume") {
      options.resume = true;
    } else if (arg.starts_with("--")) {
      return UsageError("知らないオプションです: " + arg);
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty()) return UsageError("mapxml には地図XML、ZIP またはフォルダが必要です。");
  std::error_code error;
  std::filesystem::create_directories(options.outputFolder, error);

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
  return totals.failed > 0 ? kExitTrapped : kExitDone;
}

}  // namespace parquill::cli
