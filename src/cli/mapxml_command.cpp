#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command_options.h"
#include "mapxml/mapxml_conversion.h"

namespace parquill::cli {

// parquill-cli mapxml: the registry's 地図XML files (or their ZIPs, or
// folders of them) to SIMA and MIF/MID, one line per file, then the totals.
int RunMapXmlCommand(const std::vector<std::string>& args) {
  mapxml::MapXmlOptions options;
  std::string datum;
  std::vector<std::string> inputs;
  int status = kExitUsage;
  if (!ParseCommandOptions(args,
                           {{"--output", &options.outputFolder},
                            {"--datum", &datum},
                            {"--report", nullptr, nullptr, &options.report},
                            {"--include-outside", nullptr, nullptr, &options.includeOutside}},
                           inputs, status) ||
      !TakeDatum(datum, options.datum, status)) {
    return status;
  }
  if (inputs.empty()) return UsageError("mapxml には地図XML、ZIP またはフォルダが必要です。");
  std::error_code error;
  std::filesystem::create_directories(options.outputFolder, error);

  const mapxml::MapXmlTotals totals =
      mapxml::ConvertMapXml(inputs, options, [](const mapxml::MapXmlFileOutcome& outcome) {
        PrintLine(outcome.failed ? std::cerr : std::cout, outcome.line);
        for (const std::string& finding : outcome.findings) PrintLine(std::cout, finding);
      });
  PrintLine(std::cout, mapxml::TotalsLine(totals));
  return totals.failed > 0 ? kExitTrapped : kExitDone;
}

}  // namespace parquill::cli
