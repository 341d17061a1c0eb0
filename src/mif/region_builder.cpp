#include "mif/region_builder.h"

#include <array>
#include <cmath>
#include <new>
#include <optional>
#include <string_view>

#include "dxf/binary_dxf.h"
#include "dxf/group_code.h"
#include "dxf/layer_list_reader.h"
#include "dxf/layer_selection_check.h"
#include "mif/mif_format.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"
#include "base/trim.h"

namespace parquill {
namespace {

constexpr const char* kTrapTitle = "TESSARO";

// The most points one ring may have, its closing point included.
constexpr int kRingCapacity = 1000;

// Two points are one when they differ by at most this in X and in Y.
constexpr double kCoordinateTolerance = 0.001;

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

// Whether a group code line reads as 0 under the number rule.
bool ReadsAsZero(std::string_view line) { return GroupCodeValue(line) == 0; }

// Reads the LWPOLYLINE entities of the ENTITIES section and writes the
// closed ones of the selected layers as regions. Only the current ring is
// held, in two fixed vertex stores reused for every polyline.
class RegionScan {
 public:
  RegionScan(const SelectedLayerTable& table, TextEncoding encoding, TextFileWriter& mif,
             RegionBuildSummary& summary)
      : table_(table), encoding_(encoding), mif_(mif), summary_(summary) {
    layer_.reserve(64);
  }

  // Only three lines matter between the polylines: "ENTITIES", and within
  // that section "LWPOLYLINE" and the closing "ENDSEC"; the reader skips
  // straight to the next of them (after the first line, which tells a binary
  // drawing).
  void Run(LineReader& reader) {
    static constexpr std::string_view kBeforeEntities[] = {"ENTITIES"};
    static constexpr std::string_view kInEntities[] = {"ENDSEC", "ENTITIES", "LWPOLYLINE"};
    bool inEntities = false;
    std::string_view line;
    if (!reader.Next(line)) return;
    RejectBinaryDxf(line, reader.lineNumber(), reader.path());
    do {
      if (inEntities && line == "ENDSEC") break;
      if (line == "ENTITIES") {
        inEntities = true;
      } else if (inEntities && line == "LWPOLYLINE") {
        ReadPolyline(reader);
      }
    } while (inEntities ? reader.SkipToAnyOf(kInEntities, line)
                        : reader.SkipToAnyOf(kBeforeEntities, line));
  }

 private:
  // Reads one polyline, from the line after "LWPOLYLINE" to its closing
  // "  0" group, and writes its region when it is accepted and closed.
  void ReadPolyline(LineReader& reader) {
    while (reader.Require() != "AcDbEntity") {
    }
    reader.Require();  // the layer's group code
    std::string_view layer = TrimBlanks(reader.Require());
    bool accepted = IsSelectedLayer(layer);
    if (accepted) layer_.assign(layer);
    reader.Require();
    while (reader.Require() != "AcDbPolyline") {
    }

    if (!accepted) {  // other layers' vertices are not kept: only the end is looked for
      std::string_view codeLine;
      for (;;) {
        if (!reader.NextUnusualGroupCode(codeLine)) throw RuntimeError(kInputPastEnd);
        if (ReadsAsZero(codeLine)) return;
        reader.Require();
      }
    }

    // The vertex list, read as group pairs up to the entity's end.
    int count = 0;
    std::int16_t flag = 0;
    // Lines from the reader are followed by readable bytes: their numbers
    // are read a word at a time.
    static_assert(LineReader::kReadableAfterLine >= kReadableAfterText);
    for (;;) {
      // The usual vertices, " 10" x " 20" y, as many as the ring still has
      // room for, straight from the reader's buffer; any other group pair
      // (and a vertex of another shape) is read below, one pair at a time.
      count += reader.TakeUsualVertices(kRingCapacity - count, x_.data() + count + 1,
                                        y_.data() + count + 1);
      std::string_view value;
      double code = reader.RequireUsualGroupPair(value);
      if (code == 0) {  // an unusual code line: `value` holds it
        code = GroupCodeValue(value);
        if (code == 0) break;
        value = reader.Require();
      }
      if (code == 10) {
        if (++count > kRingCapacity) throw RuntimeError(kSubscriptOutOfRange);
        x_[count] = NumberFromPaddedText(value);
        y_[count] = 0;
      } else if (code == 20) {
        y_[count] = NumberFromPaddedText(value);
      } else if (code == 70) {
        flag = ToInt16(NumberFromPaddedText(value));
      }
    }
    if (count == 0) return;

    // Flag exactly 1 closes the ring; other bits (129) leave it as drawn.
    if (flag == 1) {
      if (++count > kRingCapacity) throw RuntimeError(kSubscriptOutOfRange);
      x_[count] = x_[1];
      y_[count] = y_[1];
    }
    if (std::fabs(x_[1] - x_[count]) <= kCoordinateTolerance &&
        std::fabs(y_[1] - y_[count]) <= kCoordinateTolerance) {
      WriteRegion(count);
    } else {
      ++summary_.openPolylinesSkipped;
      if (summary_.openPolylines.size() < RegionBuildSummary::kOpenPolylinesListed) {
        summary_.openPolylines.push_back({DecodeText(layer_, encoding_), x_[1], y_[1]});
      }
    }
  }

  // Polylines mostly come in runs on one layer: the answer for the last
  // layer's bytes is kept, so a layer name is decoded only when it changes.
  bool IsSelectedLayer(std::string_view layerBytes) {
    if (table_.names.front() == kAllLayersItem) return true;
    if (knownLayer_ && layerBytes == lastLayerBytes_) return lastLayerSelected_;
    std::string layer = DecodeText(layerBytes, encoding_);
    lastLayerSelected_ = false;
    for (const std::string& name : table_.names) {
      if (name == layer) lastLayerSelected_ = true;
    }
    lastLayerBytes_.assign(layerBytes);
    knownLayer_ = true;
    return lastLayerSelected_;
  }

  void WriteRegion(int count) {
    mif_.WriteLine(kMifRegionLine);
    mif_.WriteLine(MifPointCountLine(count));
    for (int k = 1; k <= count; ++k) {
      // Digits, points, signs and one blank, written straight into the file's buffer.
      char* line = mif_.AsciiLineRoom(kMifPointLineRoom);
      mif_.EndAsciiLine(WriteMifPointLine(line, x_[k], y_[k]));
    }
    ++summary_.regionsWritten;
  }

  const SelectedLayerTable& table_;
  TextEncoding encoding_;
  TextFileWriter& mif_;
  RegionBuildSummary& summary_;
  std::array<double, kRingCapacity + 1> x_{};  // slot 0 unused
  std::array<double, kRingCapacity + 1> y_{};
  std::string layer_;  // raw bytes of the accepted polyline's layer
  std::string lastLayerBytes_;
  bool knownLayer_ = false;
  bool lastLayerSelected_ = false;
};

}  // namespace

Outcome BuildRegions(const RegionBuildRequest& request, RegionBuildSummary* summary) {
  SelectedLayerTable table;
  if (auto refusal = CheckRequest(request, table)) return Outcome::Refused(std::move(*refusal));

  RegionBuildSummary written;
  Outcome outcome = Outcome::Done();
  try {
    try {
      LineReader drawing(request.dxfPath);  // a missing drawing fails before the MIF exists
      TextFileWriter mif(OutputFileNamesFor(request.outputName).mif, TextEncoding::kCp932);
      WriteMifHeader(mif);
      RegionScan scan(table, request.encoding, mif, written);
      scan.Run(drawing);
      mif.Close();
    } catch (const std::bad_alloc&) {
      throw RuntimeError(kOutOfMemory);
    }
  } catch (const RuntimeError& error) {
    outcome = Outcome::Trapped(error, kTrapTitle);
  }
  if (summary != nullptr) *summary = written;
  return outcome;
}

}  // namespace parquill
