#include "dxf/binary_dxf.h"

#include "base/runtime_error.h"

namespace parquill {

void RejectBinaryDxf(std::string_view line, std::int64_t lineNumber, const std::string& path) {
  if (lineNumber != 1 || line != kBinaryDxfSentinel) return;
  throw RuntimeError(kInvalidCall,
                     "バイナリ形式の DXF ファイルは読み込めません。テキスト形式 (ASCII) の DXF "
                     "として保存し直してください。 (" +
                         path + ")");
}

}  // namespace parquill
