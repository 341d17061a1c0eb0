#include "convert/layer_list_step.h"

#include <new>

#include "base/runtime_error.h"
#include "dxf/dxf_version.h"
#include "dxf/line_work_reader.h"

namespace parquill {

Outcome ReadLayerList(const LayerListRequest& request, LayerListSink& list, StepHost& host) {
  if (request.fromLines) return ReadLineWorkLayerList(request, list);
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
