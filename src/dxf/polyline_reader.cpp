// The region builder's reading of the boundary polylines: one of the two
// compatibility readers. It goes through the drawing line by line with the
// rules every earlier conversion of these drawings followed (the keywords
// compared as whole lines, the codes read by the number rule, a polyline's
// vertices counted as they come), so that a drawing gives the regions it
// always gave, byte for byte; the other readers use the entity layer
// (dxf_entities.h).
#include "dxf/polyline_reader.h"

#include <array>

#include "base/number_text.h"
#include "base/runtime_error.h"
#include "base/trim.h"
#include "dxf/binary_dxf.h"
#include "dxf/dxf_escapes.h"
#include "dxf/layer_list_reader.h"

namespace parquill {
namespace {

// Reads the polylines one after the other; only the current ring is held, in
// two fixed vertex stores reused for every polyline.
class PolylineScan {
 public:
  PolylineScan(DxfLineSource& drawing, const std::vector<std::string>& layers, DxfReading reading,
               const std::function<void(const PolylineRing&)>& onRing)
      : drawing_(drawing), layers_(layers), reading_(reading), onRing_(onRing) {}

  // Only three lines matter between the polylines: "ENTITIES", and within
  // that section "LWPOLYLINE" and the closing "ENDSEC"; the drawing is
  // skipped straight to the next of them (after the first line, which tells
  // a binary drawing).
  void Run() {
    static constexpr std::string_view kBeforeEntities[] = {"ENTITIES"};
    static constexpr std::string_view kInEntities[] = {"ENDSEC", "ENTITIES", "LWPOLYLINE"};
    bool inEntities = false;
    std::string_view line;
    if (!drawing_.Next(line)) return;
    RejectBinaryDxf(line, drawing_.lineNumber(), drawing_.path());
    do {
      if (inEntities && line == "ENDSEC") break;
      if (line == "ENTITIES") {
        inEntities = true;
      } else if (inEntities && line == "LWPOLYLINE") {
        ReadPolyline();
      }
    } while (inEntities ? drawing_.SkipTo(kInEntities, line)
                        : drawing_.SkipTo(kBeforeEntities, line));
  }

 private:
  // Reads one polyline, from the line after "LWPOLYLINE" to its closing
  // "  0" code line, and hands its ring on when its layer is selected.
  void ReadPolyline() {
    while (drawing_.Require() != "AcDbEntity") {
    }
    drawing_.Require();  // the layer's group code
    const std::string_view layer = TrimBlanks(drawing_.Require());
    const bool selected = IsSelectedLayer(layer);
    if (selected) layer_.assign(layer);
    drawing_.Require();
    while (drawing_.Require() != "AcDbPolyline") {
    }
    if (!selected) {  // other layers' vertices are not kept: only the end is looked for
      std::string_view codeLine;
      for (;;) {
        if (!drawing_.PassUsualGroupPairs(codeLine)) throw RuntimeError(kInputPastEnd);
        if (GroupCodeValue(codeLine) == 0) return;
        drawing_.Require();
      }
    }

    int count = 0;
    std::int16_t flag = 0;
    double extrusion[3] = {0, 0, 1};
    for (;;) {
      double code = 0;
      std::string_view value;
      if (!drawing_.NextGroupPair(GroupCodeValue, code, value)) {
        ThrowIfTooLong(count, count);
        throw RuntimeError(kInputPastEnd);
      }
      if (code == 0) break;
      // Past the most points the rest are only counted, for the message.
      if (code == 10 && ++count <= kRingCapacity) {
        x_[count] = reading_.Metres(NumberFromText(value));
        y_[count] = 0;
        bulge_[count] = 0;
      } else if (code == 20 && count <= kRingCapacity) {
        y_[count] = reading_.Metres(NumberFromText(value));
      } else if (code == 42 && count >= 1 && count <= kRingCapacity) {
        bulge_[count] = NumberFromText(value);
      } else if (code == 70) {
        flag = ToInt16(NumberFromText(value));
      } else if (code == 210 || code == 220 || code == 230) {
        extrusion[static_cast<int>(code - 210) / 10] = NumberFromText(value);
      }
    }
    if (count == 0) return;

    const int vertices = count;
    // The closed bit closes the ring, whatever other bits are set (129: closed,
    // drawn with its linetype's pattern).
    if ((flag & 1) != 0) {
      ThrowIfTooLong(++count, vertices);
      x_[count] = x_[1];
      y_[count] = y_[1];
      bulge_[count] = 0;
    }
    ThrowIfTooLong(count, vertices);
    const Extrusion way = ExtrusionOf(extrusion[0], extrusion[1], extrusion[2]);
    if (way == Extrusion::kAskew) {
      onRing_({layer_, {}, {}, {}, false, true});
      return;
    }
    if (way == Extrusion::kDown) {
      // Mirrored in CAD: the polyline's own X axis runs against the world's.
      for (int k = 1; k <= count; ++k) {
        x_[k] = MirroredX(x_[k]);
        bulge_[k] = -bulge_[k];
      }
    }
    const auto size = static_cast<std::size_t>(count);
    onRing_({layer_, std::span(x_).subspan(1, size), std::span(y_).subspan(1, size),
             std::span(bulge_).subspan(1, size),
             WithinDrawingTolerance(x_[1], x_[count]) && WithinDrawingTolerance(y_[1], y_[count])});
  }

  // Error 9 for a ring of more than kRingCapacity points, naming it with its
  // vertices as CAD counts them.
  void ThrowIfTooLong(int count, int vertices) {
    if (count > kRingCapacity)
      throw RingTooLong("筆界のポリライン", DecodeDxfText(layer_, reading_.encoding), x_[1], y_[1],
                        static_cast<std::size_t>(vertices), count > vertices);
  }

  // Polylines mostly come in runs on one layer: the answer for the last
  // layer's bytes is kept, so a layer name is decoded only when it changes.
  bool IsSelectedLayer(std::string_view layerBytes) {
    if (layers_.front() == kAllLayersItem) return true;
    if (knownLayer_ && layerBytes == lastLayerBytes_) return lastLayerSelected_;
    const std::string layer = DecodeDxfText(layerBytes, reading_.encoding);
    lastLayerSelected_ = false;
    for (const std::string& name : layers_) {
      if (name == layer) lastLayerSelected_ = true;
    }
    lastLayerBytes_.assign(layerBytes);
    knownLayer_ = true;
    return lastLayerSelected_;
  }

  DxfLineSource& drawing_;
  const std::vector<std::string>& layers_;
  DxfReading reading_;
  const std::function<void(const PolylineRing&)>& onRing_;
  std::array<double, kRingCapacity + 1> x_{};  // slot 0 unused
  std::array<double, kRingCapacity + 1> y_{};
  std::array<double, kRingCapacity + 1> bulge_{};
  std::string layer_;  // raw bytes of the selected polyline's layer
  std::string lastLayerBytes_;
  bool knownLayer_ = false;
  bool lastLayerSelected_ = false;
};

}  // namespace

void ReadPolylineRings(DxfLineSource& drawing, const std::vector<std::string>& layers,
                       DxfReading reading, const std::function<void(const PolylineRing&)>& onRing) {
  PolylineScan(drawing, layers, reading, onRing).Run();
}

}  // namespace parquill
