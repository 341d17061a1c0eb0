#include "convert/region_build_step.h"

#include <new>
#include <optional>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "dxf/layer_selection_check.h"
#include "dxf/polyline_reader.h"
#include "mif/mif_format.h"

namespace parquill {
namespace {

constexpr const char* kTrapTitle = "TESSARO";

std::optional<Message> CheckRequest(const RegionBuildRequest& request, SelectedLayerTable& table) {
  if (auto refusal = FillSelectedLayerTable(request.selection, table)) return refusal;
  if (table.names.empty()) return Message{"レイアが選択されていません。", "抽出レイア"};
  if (request.dxfPath.empty()) return Message{"入力ファイルが選択されていません。", "ファイル指定"};
  if (request.outputName.empty()) {
    return Message{"出力ファイルが選択されていません。", "ファイル指定"};
  }
  OutputFileNames names = OutputFileNamesFor(request.outputName);
  for (const std::string* output : {&names.sima, &names.mif, &names.mid}) {
    if (NamesSameFile(*output, request.dxfPath)) return OutputIsInputRefusal();
  }
  return std::nullopt;
}

// Writes the closed rings as MIF regions and lists the open ones.
class RegionWriter {
 public:
  RegionWriter(TextFileWriter& mif, TextEncoding encoding, RegionBuildSummary& summary,
               WrittenRegions* written)
      : mif_(mif), encoding_(encoding), summary_(summary), written_(written) {}

  void Take(const PolylineRing& ring) {
    if (ring.closed) {
      Write(ring);
      return;
    }
    ++summary_.openPolylinesSkipped;
    if (summary_.openPolylines.size() < RegionBuildSummary::kOpenPolylinesListed) {
      summary_.openPolylines.push_back({DecodeText(ring.layer, encoding_), ring.x[0], ring.y[0]});
    }
  }

 private:
  void Write(const PolylineRing& ring) {
    const int count = static_cast<int>(ring.x.size());
    const std::int64_t offset = mif_.position();
    mif_.WriteLine(kMifRegionLine);
    mif_.WriteLine(MifPointCountLine(count));
    // The points as a reading will get them, kept for the readings to come.
    double* readX = nullptr;
    double* readY = nullptr;
    bool keep = written_ != nullptr && written_->Room(count, readX, readY);
    for (std::size_t k = 0; k < ring.x.size(); ++k) {
      // Digits, points, signs and one blank, written straight into the file's buffer.
      char* line = mif_.AsciiLineRoom(kMifPointLineRoom);
      if (!keep) {
        mif_.EndAsciiLine(WriteMifPointLine(line, ring.x[k], ring.y[k]));
        continue;
      }
      mif_.EndAsciiLine(WriteMifPointLine(line, ring.x[k], ring.y[k], readX[k], readY[k], keep));
      if (!keep) written_->GiveUp();
    }
    if (keep) written_->Add(offset, linesWritten_, count);
    linesWritten_ += 2 + count;
    ++summary_.regionsWritten;
  }

  TextFileWriter& mif_;
  TextEncoding encoding_;
  RegionBuildSummary& summary_;
  WrittenRegions* written_;
  std::int64_t linesWritten_ = kMifHeaderLines.size();
};

}  // namespace

Outcome BuildRegions(const RegionBuildRequest& request, RegionBuildSummary* summary) {
  // However the build ends, the readings waiting for its regions go on.
  WrittenRegions* regions = request.writtenRegions;
  struct FinishRegions {
    WrittenRegions* regions;
    ~FinishRegions() {
      if (regions != nullptr) regions->Finished();
    }
  } finishRegions{regions};

  SelectedLayerTable table;
  if (auto refusal = CheckRequest(request, table)) {
    if (regions != nullptr) regions->GiveUp();
    return Outcome::Refused(std::move(*refusal));
  }

  RegionBuildSummary written;
  Outcome outcome = Outcome::Done();
  try {
    try {
      DxfLineSource drawing(request.dxfPath);  // a missing drawing fails before the MIF exists
      TextFileWriter mif(OutputFileNamesFor(request.outputName).mif, TextEncoding::kCp932);
      if (request.mifProgress != nullptr) mif.ReportTo(*request.mifProgress);
      WriteMifHeader(mif);
      if (regions != nullptr) {
        regions->SetHeaderLines({kMifHeaderLines.begin(), kMifHeaderLines.end()});
      }
      RegionWriter writer(mif, request.encoding, written, regions);
      ReadPolylineRings(drawing, table.names, request.encoding,
                        [&](const PolylineRing& ring) { writer.Take(ring); });
      mif.Close();
    } catch (const std::bad_alloc&) {
      throw RuntimeError(kOutOfMemory);
    }
  } catch (const RuntimeError& error) {
    outcome = Outcome::Trapped(error, kTrapTitle);
    if (regions != nullptr) regions->GiveUp();  // the file ends where the build stopped
  }
  if (summary != nullptr) *summary = written;
  return outcome;
}

}  // namespace parquill
