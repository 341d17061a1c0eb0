#include "cli/cli_support.h"

#include <iostream>

#include "base/text_codec.h"

namespace parquill::cli {

void PrintText(std::ostream& out, std::string_view text) {
  out << EncodeText(text, TextEncoding::kUtf8);
}

void StderrMessageBoxes::ShowCritical(const Message& message) {
  std::string text = message.text;
  // A message box breaks lines at CR or CR LF; a terminal wants LF.
  std::string printable;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      printable.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      printable.push_back(text[i]);
    }
  }
  PrintText(std::cerr, message.title + ": " + printable);
  std::cerr << '\n';
}

int ReportOutcome(const Outcome& outcome) {
  StderrMessageBoxes boxes;
  for (const Message& message : outcome.messages) boxes.ShowCritical(message);
  switch (outcome.kind) {
    case OutcomeKind::kDone:
      return kExitDone;
    case OutcomeKind::kRefused:
      return kExitRefused;
    case OutcomeKind::kTrapped:
      return kExitTrapped;
  }
  return kExitTrapped;
}

int UsageError(const std::string& problem) {
  PrintText(std::cerr, "parquill-cli: " + problem);
  std::cerr << "\n(parquill-cli --help で使い方を表示します)\n";
  return kExitUsage;
}

}  // namespace parquill::cli
