#include "convert/layer_list_step.h"

#include "base/runtime_error.h"
#include "dxf/layer_list_reader.h"
#include "dxf/line_work_reader.h"

namespace parquill {

Outcome ReadLayerList(const ConversionChoices& choices, const DxfVersionVerdict& verdict,
                      LayerListSink& list, StepHost& host) {
  if (!verdict.processable) {
    Message refusal = DxfVersionRefusal(verdict.name);
    if (IsLineWorkDxfVersion(verdict.code) && HoldsLineWork(choices.drawing))
      refusal.text += "\r「線から筆を作る」（--from-lines）で読めます";
    return Outcome::Refused(std::move(refusal));
  }
  list.Clear();
  list.Add(kAllLayersItem);
  if (choices.drawing.empty()) {
    return Outcome::Refused({"入力ファイルが選択されていません。", "ファイル指定"});
  }
  return TrapRunTimeErrors(kProgramTrapTitle, [&] {
    const auto onName = [&](const std::string& name) {
      list.Add(name);
      host.LetEventsThrough();
    };
    const TextEncoding encoding = verdict.encoding;
    if (choices.fromLines) {
      ScanLineWorkLayerNames(choices.drawing, encoding, onName);
    } else {
      ScanLayerNames(choices.drawing, encoding, onName);
    }
    return Outcome::Done();
  });
}

}  // namespace parquill
