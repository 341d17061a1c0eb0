#include "dxf/layer_list_reader.h"

#include <new>

#include "dxf/binary_dxf.h"
#include "dxf/dxf_escapes.h"
#include "dxf/dxf_line_source.h"
#include "dxf/dxf_version.h"

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

Outcome ReadLayerList(const LayerListRequest& request, LayerListSink& list, StepHost& host) {
  if (!IsProcessableDxfVersion(request.versionCode)) {
    return Outcome::Refused(DxfVersionRefusal(request.versionName));
  }
  list.Clear();
  list.Add(kAllLayersItem);
  if (request.inputPath.empty()) {
    return Outcome::Refused({"入力ファイルが選択されていません。", "ファイル指定"});
  }
  try {
    ScanLayerNames(request.inputPath, DxfTextEncoding(request.versionCode),
                   [&](const std::string& name) {
                     list.Add(name);
                     host.LetEventsThrough();
                   });
  } catch (const RuntimeError& error) {
    return Outcome::Trapped(error, "PARQUILL");
  } catch (const std::bad_alloc&) {
    return Outcome::Trapped(RuntimeError(kOutOfMemory), "PARQUILL");
  }
  return Outcome::Done();
}

}  // namespace parquill
