#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command_options.h"
#include "mapxml/mapxml_conversion.h"

namespace parquill::cli {

// parquill-cli mapxml: the registry's 地図XML files (or their ZIPs, or
// folders of them) to SIMA, MIF/MID and DXF, every lot or the lots asked
// for, one line per file, then the totals.
int RunMapXmlCommand(const std::vector<std::string>& args) {
  mapxml::MapXmlOptions options;
  std::string datum, formats, unit;
  std::vector<std::string> inputs;
  int status = kExitUsage;
  if (!ParseCommandOptions(args,
                           {{"--output", &options.outputFolder},
                            {"--datum", &datum},
                            {"--report", nullptr, nullptr, &options.report},
                            {"--include-outside", nullptr, nullptr, &options.includeOutside},
                            {"--chiban", nullptr, &options.site.chibans},
                            {"--oaza", &options.site.oaza},
                            {"--neighbours", nullptr, nullptr, &options.site.neighbours},
                            {"--format", &formats},
                            {"--unit", &unit}},
                           inputs, status) ||
      !TakeDatum(datum, options.datum, status) || !TakeUnit(unit, options.millimetres, status) ||
      !TakeFormats(formats, options.formats, status)) {
    return status;
  }
  if (inputs.empty()) return UsageError("mapxml には地図XML、ZIP またはフォルダが必要です。");
  if (options.site.chibans.empty() && (!options.site.oaza.empty() || options.site.neighbours)) {
    return UsageError("--oaza と --neighbours には --chiban が必要です。");
  }
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
