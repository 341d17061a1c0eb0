#include "cli/command_options.h"

#include "cli/cli_support.h"
#include "sima/lot_files.h"

namespace parquill::cli {

bool ParseCommandOptions(const std::vector<std::string>& args,
                         const std::vector<CommandOption>& options,
                         std::vector<std::string>& inputs, int& status) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const CommandOption* option = nullptr;
    for (const CommandOption& known : options) option = arg == known.name ? &known : option;
    if (option == nullptr && arg.starts_with("--")) {
      status = UsageError("知らないオプションです: " + arg);
      return false;
    }
    if (option == nullptr) {
      inputs.push_back(arg);
    } else if (option->flag != nullptr) {
      *option->flag = true;
    } else if (i + 1 == args.size()) {
      status = UsageError(arg + " には値が必要です。");
      return false;
    } else if (option->list != nullptr) {
      option->list->push_back(args[++i]);
    } else {
      *option->text = args[++i];
    }
  }
  return true;
}

bool TakeDatum(const std::string& text, PlaneDatum& datum, int& status) {
  if (text.empty()) return true;
  datum =
      text == PlaneDatumName(PlaneDatum::kJgd2000) ? PlaneDatum::kJgd2000 : PlaneDatum::kJgd2011;
  if (text == PlaneDatumName(datum)) return true;
  status = UsageError("--datum には jgd2011 か jgd2000 を指定してください。");
  return false;
}

bool TakeUnit(const std::string& text, bool& millimetres, int& status) {
  millimetres = text == "mm";
  if (text.empty() || text == "mm" || text == "m") return true;
  status = UsageError("--unit には mm か m が必要です。");
  return false;
}

bool TakeFormats(const std::string& text, unsigned& formats, int& status) {
  if (text.empty()) return true;
  formats = 0;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(',', start), text.size());
    const std::string name = text.substr(start, end - start);
    const unsigned format = name == "sima"  ? kLotSima
                            : name == "mif" ? kLotMif
                            : name == "dxf" ? kLotDxf
                                            : 0u;
    if (format == 0) {
      status =
          UsageError("--format には sima、mif、dxf をコンマで区切って指定してください: " + name);
      return false;
    }
    formats |= format;
    start = end + 1;
  }
  return true;
}

}  // namespace parquill::cli
