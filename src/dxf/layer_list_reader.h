#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// A layer list kept in memory (the command line's).
struct LayerNameList : LayerListSink {
  void Clear() override { items.clear(); }
  void Add(const std::string& item) override { items.push_back(item); }
  std::vector<std::string> items;
};

struct LayerListRequest {
  std::int32_t versionCode = 0;
  std::string versionName;
  std::string inputPath;   // the input-name field as the user sees it
  bool fromLines = false;  // lots drawn as lines: R12 drawings on, read as such
};

}  // namespace parquill
