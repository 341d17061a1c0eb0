#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "base/step_outcome.h"

namespace parquill::cli {

// Exit statuses of parquill-cli.
enum ExitStatus : int {
  kExitDone = 0,
  kExitUsage = 2,
  kExitRefused = 3,  // a step refused with one of its fixed messages
  kExitTrapped = 4,  // a run-time error ended a step
};

// Prints a core string and a line end on a stream as UTF-8 (escaped bytes
// come out as they were read).
void PrintLine(std::ostream& out, std::string_view text);

// Shows the step's messages on stderr, each as "TITLE: MESSAGE", and turns
// its outcome into an exit status.
int ReportOutcome(const Outcome& outcome);

int UsageError(const std::string& problem);

int RunVersionCommand(const std::vector<std::string>& args);
int RunLayersCommand(const std::vector<std::string>& args);
int RunConvertCommand(const std::vector<std::string>& args);
int RunMapXmlCommand(const std::vector<std::string>& args);

}  // namespace parquill::cli
