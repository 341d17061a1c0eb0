// The version check and the layer list on any file.
#include "convert/layer_list_step.h"
#include "convert/version_check_step.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_list_reader.h"
#include "geometry/point_in_polygon.h"
#include "input_files.h"

using namespace parquill;

namespace {

class CountingList : public LayerListSink {
 public:
  void Clear() override { count = 0; }
  void Add(const std::string& item) override {
    if (count == 0) fuzz::Check(item == kAllLayersItem, "the list does not begin with すべて");
    ++count;
  }
  std::size_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  std::string path = fuzz::WriteInput("drawing.dxf", fuzz::Bytes(data, size));
  DxfVersionVerdict verdict = ClassifyDxfVersion(ReadDxfVersionCode(path));
  fuzz::CheckNoFileLeftOpen(openFiles);
  StepHost host;
  for (std::int32_t code : {verdict.code, std::int32_t{2000}, std::int32_t{2007}}) {
    CountingList list;
    Outcome outcome =
        ReadLayerList(testing::Choosing(path, ""), VerdictFor(code, false), list, host);
    fuzz::CheckOutcome(outcome, "PARQUILL");
    fuzz::CheckNoFileLeftOpen(openFiles);
    if (outcome.done()) fuzz::Check(list.count >= 1, "a done layer list without すべて");
  }
  return 0;
}
