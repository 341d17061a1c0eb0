#pragma once

#include <string>

#include "support/temp_folder.h"

namespace parquill::testing {

// A shell command's exit status (-1 when it did not exit) and what it printed.
struct CommandRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `command` through the shell; its output is kept in `folder`.
CommandRun RunCommand(const TempFolder& folder, const std::string& command);

// Runs parquill-cli with `arguments`, already quoted for the shell.
CommandRun RunCli(const TempFolder& folder, const std::string& arguments);

// Whether `program` is installed (on the PATH).
bool Installed(const std::string& program);

// `text` in single quotes for the shell.
std::string Quoted(const std::string& text);

}  // namespace parquill::testing
