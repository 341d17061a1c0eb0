#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/step_outcome.h"
#include "base/text_codec.h"

namespace parquill {

// The item that stands first in the layer list and means every layer.
inline constexpr const char* kAllLayersItem = "すべて";

// Reads the layer names of the drawing's TABLES section, in file order, and
// hands each one (decoded) to `onName` the moment it is found.
void ScanLayerNames(const std::string& path, TextEncoding encoding,
                    const std::function<void(const std::string&)>& onName);

// The layer list as the window holds it.
class LayerListSink {
 public:
  virtual ~LayerListSink() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& item) = 0;
};

struct LayerListRequest {
  std::int32_t versionCode = 0;
  std::string versionName;
  std::string inputPath;  // the input-name field as the user sees it
};

// The "レイア読み込み" step: refuses a version that cannot be processed, then
// fills the list with "すべて" and the drawing's layer names, letting the
// window process its events after each name. A drawing that cannot be read
// ends the step with its run-time error (the list then holds what was found).
Outcome ReadLayerList(const LayerListRequest& request, LayerListSink& list, StepHost& host);

}  // namespace parquill
