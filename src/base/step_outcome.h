#pragma once

#include <new>
#include <string>
#include <vector>

#include "base/runtime_error.h"

namespace parquill {

// One critical message box: its text and its title.
struct Message {
  std::string text;
  std::string title;
  friend bool operator==(const Message&, const Message&) = default;
};

enum class OutcomeKind {
  kDone,     // the step reached its normal end
  kRefused,  // the step refused with one of its fixed messages
  kTrapped,  // a run-time error ended the step through its trap
};

// The titles of the boxes of a trapped run-time error: the program's own
// (layer list, lot-number reading) and the computation library's (region
// build, attachment).
inline constexpr const char* kProgramTrapTitle = "PARQUILL";
inline constexpr const char* kSurveyTrapTitle = "TESSARO";
// The SIMA conversion's.
inline constexpr const char* kConversionTrapTitle = "Brantole";

// What a step reports back to the window or the command line.
struct Outcome {
  OutcomeKind kind = OutcomeKind::kDone;
  int errorNumber = 0;            // kTrapped: the number of the error
  std::vector<Message> messages;  // every box of the step, in the order shown

  static Outcome Done() { return {}; }
  static Outcome Refused(Message message) {
    return {OutcomeKind::kRefused, 0, {std::move(message)}};
  }
  static Outcome Trapped(const RuntimeError& error, std::string title) {
    return {OutcomeKind::kTrapped, error.number(), {{TrapText(error), std::move(title)}}};
  }
  bool done() const { return kind == OutcomeKind::kDone; }
};

// Runs a step's work and traps the run-time error that ends it (running out
// of memory among them) under the step's title.
template <typename Work>
Outcome TrapRunTimeErrors(const char* title, Work work) {
  try {
    try {
      return work();
    } catch (const std::bad_alloc&) {
      throw RuntimeError(kOutOfMemory);
    }
  } catch (const RuntimeError& error) {
    return Outcome::Trapped(error, title);
  }
}

// The critical message box (stop icon, one OK button). The window shows a real
// box; tests and the command line capture or print the messages.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void ShowCritical(const Message& message) = 0;
};

// What a step needs from the window while it runs.
class StepHost {
 public:
  virtual ~StepHost() = default;
  // Lets the window process its pending events (repaint, clicks).
  virtual void LetEventsThrough() {}
  // Shows the number of the region being converted.
  virtual void ShowProgress(int regionNumber) { (void)regionNumber; }
  // Shows how much of the drawing a long reading has read (0 to 1).
  virtual void ShowShareRead(double share) { (void)share; }
};

}  // namespace parquill
