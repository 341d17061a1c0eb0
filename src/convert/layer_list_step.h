#pragma once

#include <string>
#include <vector>

#include "base/step_outcome.h"
#include "convert/conversion_choices.h"
#include "dxf/dxf_version.h"

namespace parquill {

// The layer list as the window holds it.
class LayerListSink {
 public:
  virtual ~LayerListSink() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& item) = 0;
};

// A layer list kept in memory (the command line's).
struct LayerNameList : LayerListSink {
  void Clear() override { items.clear(); }
  void Add(const std::string& item) override { items.push_back(item); }
  std::vector<std::string> items;
};

// The "レイア読み込み" step: refuses a drawing the version check found
// unprocessable, then fills the list with "すべて" and the drawing's layer
// names, letting the window process its events after each name. A drawing
// that cannot be read ends the step with its run-time error (the list then
// holds what was found). For lots drawn as lines the names are those the
// lines' reading finds (the LAYER table, then the layers only entities name).
Outcome ReadLayerList(const ConversionChoices& choices, const DxfVersionVerdict& verdict,
                      LayerListSink& list, StepHost& host);

}  // namespace parquill
