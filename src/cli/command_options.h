#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "mif/plane_zone.h"

// The options of the commands, each parsed in one place.
namespace parquill::cli {

// An option: its name, whether a value follows it, and what takes it; the
// taker returns what is wrong with the value, or nothing.
struct CommandOption {
  std::string_view name;
  bool valued = false;
  std::function<std::string(const std::string& value)> take;
};

// The options every command that writes files shares.
CommandOption OutputOption(std::string& output);
CommandOption DatumOption(PlaneDatum& datum);
CommandOption ReportOption(bool& report);
CommandOption UnitOption(bool& millimetres);
// An option without a value that sets `flag` to `to`.
CommandOption FlagOption(std::string_view name, bool& flag, bool to = true);

// Reads the arguments by the table: each option takes its value, any other
// argument not starting with "--" is an input. False, the problem said as a
// usage error and `status` set, at the first fault.
bool ParseCommandOptions(const std::vector<std::string>& args,
                         const std::vector<CommandOption>& options,
                         std::vector<std::string>& inputs, int& status);

}  // namespace parquill::cli
