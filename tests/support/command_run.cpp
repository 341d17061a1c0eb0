#include "support/command_run.h"

#include <sys/wait.h>

#include <cstdlib>

namespace parquill::testing {

CommandRun RunCommand(const TempFolder& folder, const std::string& command) {
  const std::string out = folder.File("stdout.txt");
  const std::string err = folder.File("stderr.txt");
  const int raw = std::system((command + " >" + Quoted(out) + " 2>" + Quoted(err)).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
}

CommandRun RunCli(const TempFolder& folder, const std::string& arguments) {
  return RunCommand(folder, Quoted(PARQUILL_CLI_PATH) + " " + arguments);
}

bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace parquill::testing
