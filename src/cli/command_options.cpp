#include "cli/command_options.h"

#include "cli/cli_support.h"

namespace parquill::cli {

CommandOption OutputOption(std::string& output) {
  return {"--output", true, [&output](const std::string& value) {
            output = value;
            return std::string();
          }};
}

CommandOption DatumOption(PlaneDatum& datum) {
  return {"--datum", true, [&datum](const std::string& value) {
            datum = value == PlaneDatumName(PlaneDatum::kJgd2000) ? PlaneDatum::kJgd2000
                                                                  : PlaneDatum::kJgd2011;
            return value == PlaneDatumName(datum)
                       ? std::string()
                       : std::string("--datum には jgd2011 か jgd2000 を指定してください。");
          }};
}

CommandOption ReportOption(bool& report) { return FlagOption("--report", report); }

CommandOption UnitOption(bool& millimetres) {
  return {"--unit", true, [&millimetres](const std::string& value) {
            millimetres = value == "mm";
            return value == "mm" || value == "m" ? std::string()
                                                 : std::string("--unit には mm か m が必要です。");
          }};
}

CommandOption FlagOption(std::string_view name, bool& flag, bool to) {
  return {name, false, [&flag, to](const std::string&) {
            flag = to;
            return std::string();
          }};
}

bool ParseCommandOptions(const std::vector<std::string>& args,
                         const std::vector<CommandOption>& options,
                         std::vector<std::string>& inputs, int& status) {
  std::string problem;
  for (std::size_t i = 0; i < args.size() && problem.empty(); ++i) {
    const std::string& arg = args[i];
    const CommandOption* option = nullptr;
    for (const CommandOption& known : options) {
      if (arg == known.name) option = &known;
    }
    if (option == nullptr) {
      if (arg.starts_with("--")) {
        problem = "知らないオプションです: " + arg;
      } else {
        inputs.push_back(arg);
      }
    } else if (option->valued && i + 1 == args.size()) {
      problem = arg + " には値が必要です。";
    } else {
      problem = option->take(option->valued ? args[++i] : std::string());
    }
  }
  if (problem.empty()) return true;
  status = UsageError(problem);
  return false;
}

}  // namespace parquill::cli
