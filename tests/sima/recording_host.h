#pragma once

#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "base/text_codec.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

// A window stand-in that records what the conversion asks of it.
namespace parquill::testing {

class RecordingHost : public StepHost {
 public:
  void LetEventsThrough() override { ++events; }
  void ShowProgress(int regionNumber) override { progress.push_back(regionNumber); }

  int events = 0;
  std::vector<int> progress;
};

}  // namespace parquill::testing
