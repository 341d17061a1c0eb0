#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"
#include "support/test_drawings.h"
#include "base/step_outcome.h"
#include "base/text_codec.h"

// MIF/MID texts as the region builder and the attribute attachment write them,
// and a window stand-in that records what the conversion asks of it.
namespace parquill::testing {

// The eight header lines, with the given delimiter line.
inline std::string MifHeader(std::string_view delimiterLine = "Delimiter \",\"") {
  return CrLf({"Version 300", "Charset \"WindowsLatin1\"", delimiterLine,
               "Coordsys Earth Projection 1,0", "Columns 2", "   ID Char(8)", "   Chiban Char(20)",
               "Data"});
}

// "REGION 1", the count line and the point lines ("x y").
inline std::string Region(std::initializer_list<std::string_view> pointLines) {
  std::string text = CrLf({"REGION 1", " " + std::to_string(pointLines.size()) + " "});
  for (std::string_view line : pointLines) text += CrLf({line});
  return text;
}

// A ring of `count` distinct points "i.00000 y.00000" (i from `first`), not closed.
inline std::string OpenRegion(int count, int first = 0, int y = 0) {
  std::string text = CrLf({"REGION 1", " " + std::to_string(count) + " "});
  for (int i = 0; i < count; ++i) {
    text += std::to_string(first + i) + ".00000 " + std::to_string(y) + ".00000\r\n";
  }
  return text;
}

class RecordingHost : public StepHost {
 public:
  void LetEventsThrough() override { ++events; }
  void ShowProgress(int regionNumber) override { progress.push_back(regionNumber); }

  int events = 0;
  std::vector<int> progress;
};

}  // namespace parquill::testing
