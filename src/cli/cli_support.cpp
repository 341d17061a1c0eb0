#include "cli/cli_support.h"

#include <iostream>

#include "base/text_codec.h"

namespace parquill::cli {

void PrintLine(std::ostream& out, std::string_view text) {
  out << EncodeText(text, TextEncoding::kUtf8) << '\n';
}

namespace {

// A message box's text and title, as "TITLE: MESSAGE" on stderr. A message box
// breaks lines at CR or CR LF; a terminal wants LF.
void PrintMessage(const Message& message) {
  std::string text;
  for (std::size_t i = 0; i < message.text.size(); ++i) {
    const char c = message.text[i];
    if (c == '\r' && i + 1 < message.text.size() && message.text[i + 1] == '\n') continue;
    text.push_back(c == '\r' ? '\n' : c);
  }
  PrintLine(std::cerr, message.title + ": " + text);
}

}  // namespace

int ReportOutcome(const Outcome& outcome) {
  for (const Message& message : outcome.messages) PrintMessage(message);
  return outcome.kind == OutcomeKind::kDone      ? kExitDone
         : outcome.kind == OutcomeKind::kRefused ? kExitRefused
                                                 : kExitTrapped;
}

int UsageError(const std::string& problem) {
  PrintLine(std::cerr, "parquill-cli: " + problem);
  std::cerr << "(parquill-cli --help で使い方を表示します)\n";
  return kExitUsage;
}

}  // namespace parquill::cli
