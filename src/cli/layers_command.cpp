#include <iostream>

#include "base/text_codec.h"
#include "cli/cli_support.h"
#include "convert/version_check_step.h"
#include "dxf/layer_list_reader.h"
#include "dxf/line_work_reader.h"

namespace parquill::cli {
namespace {

class PrintedLayerList : public LayerListSink {
 public:
  void Clear() override {}
  void Add(const std::string& item) override {
    // A byte the drawing's encoding does not hold is shown as \xHH: the
    // name as printed is what --boundary and --text take.
    PrintText(std::cout, ShowEscapedBytes(item));
    std::cout << '\n';
  }
};

}  // namespace

// parquill-cli layers DRAWING [--from-lines]: the layer list as "レイア読み込み"
// fills it; with --from-lines, as lots drawn as lines read it (R12 on).
int RunLayersCommand(const std::vector<std::string>& args) {
  const bool fromLines = args.size() == 2 && args[1] == "--from-lines";
  if (args.size() != 1 && !fromLines) {
    return UsageError("layers には図面ファイルを 1 つ指定してください。");
  }
  DxfVersionVerdict verdict = CheckDxfVersion(args[0]);
  LayerListRequest request{verdict.code, verdict.name, args[0]};
  PrintedLayerList list;
  StepHost host;
  return ReportOutcome(fromLines ? ReadLineWorkLayerList(request, list)
                                 : ReadLayerList(request, list, host));
}

}  // namespace parquill::cli
