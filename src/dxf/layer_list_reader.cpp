#include "dxf/layer_list_reader.h"

#include "dxf/binary_dxf.h"
#include "dxf/dxf_escapes.h"
#include "dxf/dxf_line_source.h"

namespace parquill {

void ScanLayerNames(const std::string& path, TextEncoding encoding,
                    const std::function<void(const std::string&)>& onName) {
  DxfLineSource drawing(path);
  bool inTables = false;
  bool inRecord = false;  // a layer record's marker was seen; its name is to come
  bool atName = false;    // the record's "  2" line was just read
  std::string_view line;
  while (drawing.Next(line)) {
    RejectBinaryDxf(line, drawing.lineNumber(), path);
    if (line == "ENDSEC" && inTables) break;
    if (line == "TABLES") {
      inTables = true;
    } else if (line == "AcDbLayerTableRecord") {
      inRecord = true;
    } else if (inRecord && atName) {
      onName(DecodeDxfText(line, encoding));
      inRecord = false;
    } else if (line == "  2" && inRecord) {
      atName = true;
    } else {
      atName = false;
    }
  }
}

}  // namespace parquill
