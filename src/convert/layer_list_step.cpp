#include "convert/layer_list_step.h"

#include <new>

#include "base/runtime_error.h"
#include "dxf/dxf_version.h"
#include "dxf/line_work_reader.h"

namespace parquill {

Outcome ReadLayerList(const LayerListRequest& request, LayerListSink& list, StepHost& host) {
  const bool processable = request.fromLines ? IsLineWorkDxfVersion(request.versionCode)
                                             : IsProcessableDxfVersion(request.versionCode);
  if (!processable) {
    return Outcome::Refused(DxfVersionRefusal(request.versionName));
  }
  list.Clear();
  list.Add(kAllLayersItem);
  if (request.inputPath.empty()) {
    return Outcome::Refused({"入力ファイルが選択されていません。", "ファイル指定"});
  }
  try {
    const auto onName = [&](const std::string& name) {
      list.Add(name);
      host.LetEventsThrough();
    };
    const TextEncoding encoding = DxfTextEncoding(request.versionCode);
    if (request.fromLines) {
      ScanLineWorkLayerNames(request.inputPath, encoding, onName);
    } else {
      ScanLayerNames(request.inputPath, encoding, onName);
    }
  } catch (const RuntimeError& error) {
    return Outcome::Trapped(error, kProgramTrapTitle);
  } catch (const std::bad_alloc&) {
    return Outcome::Trapped(RuntimeError(kOutOfMemory), kProgramTrapTitle);
  }
  return Outcome::Done();
}

}  // namespace parquill
