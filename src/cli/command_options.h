#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mif/plane_zone.h"

// The options of the commands, each read in one place.
namespace parquill::cli {

// An option and where its value goes: a text (the last one given), a list
// (every one given) or, for an option without a value, a flag set to true.
struct CommandOption {
  std::string_view name;
  std::string* text = nullptr;
  std::vector<std::string>* list = nullptr;
  bool* flag = nullptr;
};

// Reads the arguments by the table; any other argument not starting with
// "--" is an input. False, the problem said as a usage error and `status`
// set, at the first fault.
bool ParseCommandOptions(const std::vector<std::string>& args,
                         const std::vector<CommandOption>& options,
                         std::vector<std::string>& inputs, int& status);

// The values every command that writes files shares, from their texts
// (empty when not given); false with `status` set for a wrong one.
bool TakeDatum(const std::string& text, PlaneDatum& datum, int& status);
bool TakeUnit(const std::string& text, bool& millimetres, int& status);
// "sima,mif,dxf" or any of them, as LotFormat bits.
bool TakeFormats(const std::string& text, unsigned& formats, int& status);

}  // namespace parquill::cli
