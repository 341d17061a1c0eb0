#pragma once

#include <chrono>

#include "mapxml/mapxml_conversion.h"

namespace parquill::cli {

// The cores this process may run on: the default number of files a batch
// converts at once.
int UsableCores();

// One line on stderr that says how far a long batch is, redrawn in place:
// "地図XML 120/2254、筆 98123（1234 筆/秒）、残り 約 3分20秒". Shown only
// when stderr is a terminal; nothing is written otherwise.
class ProgressLine {
 public:
  ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  ~ProgressLine() { Clear(); }

  bool shown() const { return shown_; }
  void Show(const mapxml::MapXmlProgress& progress);
  // Takes the line away, before any other line is printed.
  void Clear();

 private:
  bool shown_ = false;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace parquill::cli
