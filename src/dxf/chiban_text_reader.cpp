// The attachment's reading of the lot-number texts: one of the two
// compatibility readers. It goes through the drawing line by line with the
// rules every earlier conversion of these drawings followed (a value taken
// from the line after the one that names it, whatever that line is), so that
// a drawing gives the lot numbers it always gave; the report's second reading
// through the entity layer (dxf_entities.h) tells the user where that differs.
#include "dxf/chiban_text_reader.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>

#include "base/number_text.h"
#include "base/runtime_error.h"
#include "base/trim.h"
#include "dxf/binary_dxf.h"
#include "dxf/dxf_entities.h"
#include "dxf/dxf_escapes.h"
#include "dxf/dxf_line_source.h"
#include "dxf/layer_list_reader.h"
#include "dxf/layer_selection_check.h"

namespace parquill {
std::optional<Message> CheckTextLayerSelection(const LayerSelection& selection,
                                               const std::string& dxfPath, std::string& textLayer) {
  SelectedLayerTable table;
  if (auto refusal = FillSelectedLayerTable(selection, table)) return refusal;
  if (table.names.empty()) return Message{"抽出テキストが選択されていません。", "レイア選択"};
  if (table.names.back() == kAllLayersItem)
    return Message{"すべては選択できません。", "レイア選択"};
  if (table.names.size() > 1) return Message{"レイアが複数選択されています。", "レイア選択"};
  if (dxfPath.empty()) return Message{"入力ファイルが選択されていません。", "ファイル指定"};
  textLayer = table.names.front();
  return std::nullopt;
}

namespace {

// The value the open entity waits for on the next line.
enum class Awaited {
  kNothing,
  kString,
  kLayer,
  kX,
  kY,
  kRecording,
  kDirection,
  kExtrusionX,
  kExtrusionY,
  kExtrusionZ
};

// Walks the ENTITIES section line by line and records the text entities of
// one layer. Layer and string are kept as raw bytes in reused buffers and
// decoded only when an entity is recorded.
class ChibanTextScan {
 public:
  ChibanTextScan(const std::string& textLayer, DxfReading reading, std::size_t capacity,
                 ChibanTextRead& result)
      : textLayer_(textLayer), reading_(reading), capacity_(capacity), result_(result) {
    // Room for the usual table at once: no copies while it fills.
    result_.texts.reserve(std::min(capacity, kChibanTextCapacity));
    layer_.reserve(64);
    string_.reserve(256);
  }

  // Reads the drawing; false when the text limit stopped the reading.
  bool Run(DxfLineSource& drawing) {
    std::string_view line;
    if (!drawing.Next(line)) return true;
    RejectBinaryDxf(line, drawing.lineNumber(), drawing.path());
    // Outside a text entity only the section lines and the entity names
    // matter: the drawing is skipped straight to the next of them.
    for (bool more = true; more; more = NextLine(drawing, line)) {
      // Every line is first taken for a section line or an entity name, the
      // value lines too; all of them begin with E, M or T.
      if (MayBeSectionOrEntityName(line)) {
        if (inEntities_ && line == "ENDSEC") break;
        if (line == "ENTITIES") {
          inEntities_ = true;
          continue;
        }
        if (inEntities_ && line == "TEXT") {
          inText_ = true;
          continue;
        }
        if (inEntities_ && line == "MTEXT") {
          inText_ = true;
          isMText_ = true;
          continue;
        }
      }
      if (!inText_) continue;
      if (awaited_ != Awaited::kNothing) {
        TakeAwaitedValue(line);
      } else {
        ExamineCodeLine(line);
      }
      if (recordingFailed_) return false;
    }
    return true;
  }

 private:
  static bool MayBeSectionOrEntityName(std::string_view line) {
    if (line.size() < 4) return false;
    const char first = line.front();
    return first == 'E' || first == 'M' || first == 'T';
  }

  static bool IsBetweenTextsLine(std::string_view line) {
    return MayBeSectionOrEntityName(line) &&
           (line == "TEXT" || line == "MTEXT" || line == "ENDSEC" || line == "ENTITIES");
  }

  bool NextLine(DxfLineSource& drawing, std::string_view& line) {
    static constexpr std::string_view kBeforeEntities[] = {"ENTITIES"};
    static constexpr std::string_view kBetweenTexts[] = {"ENDSEC", "ENTITIES", "MTEXT", "TEXT"};
    // Inside a text entity every line counts.
    if (inText_) return drawing.Next(line);
    if (!inEntities_) return drawing.SkipTo(kBeforeEntities, line);
    // Texts mostly follow one another: the line after one is often the next
    // one's name, looked at before a skip is set up.
    if (!drawing.Next(line)) return false;
    if (IsBetweenTextsLine(line)) return true;
    return drawing.SkipTo(kBetweenTexts, line);
  }

  // Fills the awaited value from the line.
  void TakeAwaitedValue(std::string_view line) {
    const Awaited awaited = awaited_;
    awaited_ = Awaited::kNothing;
    switch (awaited) {
      case Awaited::kLayer:
        layer_.assign(TrimBlanks(line));
        return;
      case Awaited::kString:
        string_.assign(TrimBlanks(line));
        return;
      case Awaited::kRecording:
        Record();
        return;
      case Awaited::kX:
        x_ = reading_.Metres(NumberFromText(line));
        return;
      case Awaited::kY:
        y_ = reading_.Metres(NumberFromText(line));
        return;
      case Awaited::kExtrusionX:
      case Awaited::kExtrusionY:
      case Awaited::kExtrusionZ:
        extrusion_[static_cast<int>(awaited) - static_cast<int>(Awaited::kExtrusionX)] =
            NumberFromText(line);
        return;
      case Awaited::kNothing:
      case Awaited::kDirection:
        return;
    }
  }

  void ExamineCodeLine(std::string_view line) {
    if (line.size() == 3) {
      // An MTEXT written without its "MTEXTBEGIN" marker ends at the next entity.
      if (line == "  0" && isMText_) {
        Record();
        return;
      }
      if (line == "  1") {
        awaited_ = Awaited::kString;
        return;
      }
      // The extrusion only in the text's own groups, after its subclass
      // marker (a handle before it may read "210"), and only in the code's
      // own three characters.
      if (inTextData_ && line[0] == '2' && line[2] == '0' && line[1] >= '1' && line[1] <= '3') {
        awaited_ = line[1] == '1'   ? Awaited::kExtrusionX
                   : line[1] == '2' ? Awaited::kExtrusionY
                                    : Awaited::kExtrusionZ;
        return;
      }
    } else if (line.size() == 8 && line.front() == 'A' && line == "AcDbText") {
      // It reads as 0: no group code is taken from it.
      inTextData_ = true;
      if (++acDbTextCount_ == 2) awaited_ = Awaited::kRecording;
      return;
    } else if (line.size() == 9 && line.front() == 'A' && line == "AcDbMText") {
      inTextData_ = true;
      return;
    } else if (line.size() == 10 && line.front() == 'M' && line == "MTEXTBEGIN") {
      awaited_ = Awaited::kRecording;
      return;
    }
    switch (WholeGroupCode(line)) {
      case 8:
        awaited_ = Awaited::kLayer;
        return;
      // An MTEXT's 11 and 21 are its direction, never its point.
      case 10:
        awaited_ = Awaited::kX;
        return;
      case 11:
        awaited_ = isMText_ ? Awaited::kDirection : Awaited::kX;
        return;
      case 20:
        awaited_ = Awaited::kY;
        return;
      case 21:
        awaited_ = isMText_ ? Awaited::kDirection : Awaited::kY;
        return;
      default:
        return;
    }
  }

  // Texts mostly come in runs on one layer: the answer for the last layer's
  // bytes is kept, so a layer name is decoded only when it changes.
  bool OnTextLayer() {
    if (knownLayer_ && layer_ == lastLayerBytes_) return lastLayerMatches_;
    lastLayerMatches_ = DecodeDxfText(layer_, reading_.encoding) == textLayer_;
    lastLayerBytes_ = layer_;
    knownLayer_ = true;
    return lastLayerMatches_;
  }

  void Record() {
    const Extrusion way = ExtrusionOf(extrusion_[0], extrusion_[1], extrusion_[2]);
    if (OnTextLayer() && way == Extrusion::kAskew) {
      ++result_.askewTexts;
    } else if (OnTextLayer()) {
      if (result_.texts.size() + 1 > capacity_) {
        result_.messages.push_back(
            {"テキスト個数が、" + std::to_string(capacity_) + "を超えました。", "テキスト個数"});
        recordingFailed_ = true;
        return;
      }
      std::string text = DecodeText(string_, reading_.encoding);
      if (isMText_) text = CleanMText(text);
      text = DecodeDxfEscapes(text);
      // A TEXT mirrored in CAD stands at its own X turned the other way; an
      // MTEXT's point is the world's already.
      const bool mirrored = way == Extrusion::kDown && !isMText_;
      result_.texts.push_back({std::move(text), mirrored ? MirroredX(x_) : x_, y_});
    }
    awaited_ = Awaited::kNothing;
    inText_ = false;
    isMText_ = false;
    inTextData_ = false;
    acDbTextCount_ = 0;
    extrusion_[0] = extrusion_[1] = 0;
    extrusion_[2] = 1;
  }

  const std::string& textLayer_;
  DxfReading reading_;
  std::size_t capacity_;
  ChibanTextRead& result_;

  bool inEntities_ = false;
  bool inText_ = false;
  bool isMText_ = false;
  Awaited awaited_ = Awaited::kNothing;
  int acDbTextCount_ = 0;
  bool inTextData_ = false;  // past the text's subclass marker
  double extrusion_[3] = {0, 0, 1};
  std::string layer_;
  std::string string_;
  std::string lastLayerBytes_;
  bool knownLayer_ = false;
  bool lastLayerMatches_ = false;
  double x_ = 0;
  double y_ = 0;
  bool recordingFailed_ = false;
};

}  // namespace

ChibanTextRead ReadChibanTexts(const std::string& dxfPath, const LayerSelection& selection,
                               DxfReading reading, std::size_t capacity, StepHost* host) {
  ChibanTextRead result;
  std::string textLayer;
  if (auto refusal = CheckTextLayerSelection(selection, dxfPath, textLayer)) {
    result.failed = true;
    result.messages.push_back(std::move(*refusal));
    return result;
  }
  try {
    try {
      DxfLineSource drawing(dxfPath);
      drawing.ReportShareReadTo(host);
      ChibanTextScan scan(textLayer, reading, capacity, result);
      if (!scan.Run(drawing)) result.failed = true;
    } catch (const std::bad_alloc&) {
      throw RuntimeError(kOutOfMemory);
    }
  } catch (const RuntimeError& error) {
    result.trappedError = error.number();
    result.messages.push_back({TrapText(error), kProgramTrapTitle});
  }
  return result;
}

}  // namespace parquill
