#include "dxf/drawing_preview.h"

#include <cmath>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "base/limits.h"
#include "base/number_text.h"
#include "base/runtime_error.h"
#include "base/trim.h"
#include "dxf/dxf_escapes.h"
#include "dxf/dxf_line_source.h"
#include "dxf/mtext_cleaner.h"

namespace parquill {
namespace {

constexpr std::uint32_t kPairsBetweenCancelChecks = 1 << 15;

// A value as a number; a value too large for a double counts as 0 here.
double Number(std::string_view value) {
  try {
    return NumberFromText(value);
  } catch (const RuntimeError&) {
    return 0;
  }
}

enum class EntityKind { kOther, kPolyline, kText, kMText };

// Collects the entities of the ENTITIES section, one group pair at a time.
class PreviewScan {
 public:
  PreviewScan(TextEncoding encoding, const PreviewLimits& limits, DrawingPreview& result)
      : encoding_(encoding), limits_(limits), result_(result) {}

  void Begin(std::string_view type) {
    kind_ = type == "LWPOLYLINE" ? EntityKind::kPolyline
            : type == "TEXT"     ? EntityKind::kText
            : type == "MTEXT"    ? EntityKind::kMText
                                 : EntityKind::kOther;
    layer_.clear();
    string_.clear();
    points_.clear();
    closedBit_ = false;
    x_ = y_ = 0;
    alignment_.reset();
  }

  void Take(int code, std::string_view value) {
    if (kind_ == EntityKind::kOther) return;
    if (code == 8) {
      layer_.assign(TrimBlanks(value));
    } else if (kind_ == EntityKind::kPolyline) {
      TakePolylineGroup(code, value);
    } else {
      TakeTextGroup(code, value);
    }
  }

  void End() {
    if (kind_ == EntityKind::kPolyline) KeepPolyline();
    if (kind_ == EntityKind::kText || kind_ == EntityKind::kMText) KeepText();
    kind_ = EntityKind::kOther;
  }

 private:
  void TakePolylineGroup(int code, std::string_view value) {
    if (code == 10) {
      points_.push_back({Number(value), 0});
    } else if (code == 20 && !points_.empty()) {
      points_.back().y = Number(value);
    } else if (code == 70) {
      double flag = Number(value);
      // The closed bit, as the region build reads it.
      closedBit_ = std::fabs(flag) < 32768 && (static_cast<long>(std::nearbyint(flag)) & 1) != 0;
    }
  }

  void TakeTextGroup(int code, std::string_view value) {
    if (code == 1 || (code == 3 && kind_ == EntityKind::kMText)) {
      string_.append(value);  // an MTEXT's long string comes in 3 groups before its 1
    } else if (code == 10) {
      x_ = Number(value);
    } else if (code == 20) {
      y_ = Number(value);
    } else if (code == 11 && kind_ == EntityKind::kText) {
      alignment_ = MapPoint{Number(value), alignment_ ? alignment_->y : 0};
    } else if (code == 21 && kind_ == EntityKind::kText) {
      alignment_ = MapPoint{alignment_ ? alignment_->x : 0, Number(value)};
    }
  }

  void KeepPolyline() {
    if (points_.empty()) return;
    if (result_.polylines.size() >= limits_.polylines ||
        verticesKept_ + points_.size() > limits_.vertices) {
      ++result_.polylinesLeftOut;
      return;
    }
    const MapPoint& first = points_.front();
    const MapPoint& last = points_.back();
    bool closed = closedBit_ || (WithinDrawingTolerance(first.x, last.x) &&
                                 WithinDrawingTolerance(first.y, last.y));
    verticesKept_ += points_.size();
    result_.polylines.push_back({Layer(), points_, closed});
  }

  void KeepText() {
    if (result_.texts.size() >= limits_.texts) {
      ++result_.textsLeftOut;
      return;
    }
    std::string text = DecodeText(string_, encoding_);
    if (kind_ == EntityKind::kMText) text = CleanMText(text);
    text = DecodeDxfEscapes(text);
    MapPoint at = alignment_.value_or(MapPoint{x_, y_});
    result_.texts.push_back({Layer(), std::string(TrimBlanks(text)), at.x, at.y});
  }

  // The layer's name, decoded once per distinct name.
  const std::string& Layer() {
    auto found = layers_.find(layer_);
    if (found == layers_.end())
      found = layers_.emplace(layer_, DecodeDxfText(layer_, encoding_)).first;
    return found->second;
  }

  TextEncoding encoding_;
  const PreviewLimits& limits_;
  DrawingPreview& result_;
  std::unordered_map<std::string, std::string> layers_;
  std::size_t verticesKept_ = 0;

  EntityKind kind_ = EntityKind::kOther;
  std::string layer_;
  std::string string_;
  std::vector<MapPoint> points_;
  bool closedBit_ = false;
  double x_ = 0;
  double y_ = 0;
  std::optional<MapPoint> alignment_;
};

bool Cancelled(const std::atomic<bool>* cancel) {
  return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

}  // namespace

DrawingPreview ReadDrawingPreview(const std::string& path, TextEncoding encoding,
                                  const PreviewLimits& limits, const std::atomic<bool>* cancel) {
  DrawingPreview result;
  PreviewScan scan(encoding, limits, result);
  try {
    DxfLineSource drawing(path);
    std::string_view line;
    bool inEntities = false;
    while (!inEntities && drawing.Next(line)) inEntities = line == "ENTITIES";
    std::optional<int> code;  // nullopt for a code line of another shape: its pair is passed over
    std::string_view value;
    for (std::uint32_t pairs = 1; inEntities; ++pairs) {
      if (pairs % kPairsBetweenCancelChecks == 0 && Cancelled(cancel)) {
        result.cancelled = true;
        return result;
      }
      if (!drawing.NextGroupPair(DigitsGroupCode, code, value)) break;
      if (code != 0) {
        if (code) scan.Take(*code, value);
        continue;
      }
      if (!drawing.Next(value)) break;
      scan.End();
      if (value == "ENDSEC") break;
      scan.Begin(value);
    }
    scan.End();
  } catch (const RuntimeError&) {
    result.readable = false;
  } catch (const std::bad_alloc&) {
    result.readable = false;
  }
  return result;
}

}  // namespace parquill
