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

}  // namespace parquill
