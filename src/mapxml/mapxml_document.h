#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One 地図XML file as read: its head, every point, curve and surface of its
// spatial part by id, its lots (筆) and the names of its boundary points
// (筆界点). References stay symbols until the lots are made from them
// (mapxml_lots.h), so a reference may come before what it names.
namespace parquill::mapxml {

// An id, and whatever was given that id.
using Symbol = std::uint32_t;
inline constexpr Symbol kNoSymbol = 0xFFFFFFFF;

enum class Kind : std::uint8_t { kNone, kPoint, kCurve, kSurface };

class SymbolTable {
 public:
  // The symbol of an id, made at its first mention.
  Symbol Intern(std::string_view id);
  // Gives the symbol's id an object; false when it already had one.
  bool Define(Symbol symbol, Kind kind, std::uint32_t index);

  Kind KindOf(Symbol symbol) const { return kinds_[symbol]; }
  std::uint32_t IndexOf(Symbol symbol) const { return indexes_[symbol]; }
  // The id itself; valid until the next Intern.
  std::string_view IdOf(Symbol symbol) const {
    return std::string_view(ids_).substr(idStarts_[symbol],
                                         idStarts_[symbol + 1] - idStarts_[symbol]);
  }

 private:
  void Grow();

  // Open addressing: each slot the id's hash in its high half and the
  // symbol + 1 in its low half; 0 for an empty slot. At most half full.
  std::vector<std::uint64_t> slots_;
  std::string ids_;                         // every id, one after another
  std::vector<std::uint32_t> idStarts_{0};  // where id s starts; one more than the symbols
  std::vector<Kind> kinds_;
  std::vector<std::uint32_t> indexes_;
};

// A control point of a curve: a point named by its id, or a position given
// in place (X north, Y east, metres).
struct Vertex {
  Symbol point = kNoSymbol;
  double x = 0;
  double y = 0;
};

struct Curve {
  std::uint32_t firstVertex = 0;
  std::uint32_t vertexCount = 0;
  Symbol primitive = kNoSymbol;  // the curve it is an orientation of, when not itself
  bool reversed = false;         // orientation "-"
  std::uint64_t line = 0;
};

// A ring of a surface: curve references, one after the other.
struct RingOfCurves {
  bool exterior = true;
  std::uint32_t firstCurve = 0;  // in MapXmlDocument::ringCurves
  std::uint32_t curveCount = 0;
};

struct Surface {
  std::uint32_t firstRing = 0;
  std::uint32_t ringCount = 0;
  std::uint64_t line = 0;
};

// The attributes of a lot the outputs carry.
struct LotAttributes {
  std::string chiban;          // 地番
  std::string oaza;            // 大字名
  std::string chome;           // 丁目名
  std::string koaza;           // 小字名
  std::string yobi;            // 予備名
  std::string accuracy;        // 精度区分
  std::string coordinateType;  // 座標値種別
};

// One of the lots a 筆界未定地 is made of (筆界未定構成筆): its boundary with
// the others is undetermined, so the 筆 holds them together.
struct ConstituentLot {
  std::string oaza;    // 大字名, when given
  std::string chiban;  // 地番
};

struct LotEntry {
  LotAttributes attributes;  // the lot's own, never a constituent's
  std::vector<ConstituentLot> constituents;
  Symbol shape = kNoSymbol;  // its surface
  std::uint64_t line = 0;
};

struct PointName {
  Symbol point = kNoSymbol;
  std::string name;  // 点番名
};

struct MapXmlDocument {
  std::string coordinateSystem;  // 座標系: "公共座標9系", "任意座標系"
  std::string municipalityCode;  // 市区町村コード
  std::string municipalityName;  // 市区町村名

  SymbolTable symbols;
  std::vector<double> pointX;  // X north
  std::vector<double> pointY;  // Y east
  std::vector<Curve> curves;
  std::vector<Vertex> vertices;
  std::vector<Surface> surfaces;
  std::vector<RingOfCurves> rings;
  std::vector<Symbol> ringCurves;
  std::vector<LotEntry> lots;
  std::vector<PointName> pointNames;
};

// The plane zone (1 to 19) of "公共座標N系" (N in ASCII or full-width
// digits); 0 for any other coordinate system, such as 任意座標系.
int PlaneZoneOf(std::string_view coordinateSystem);

}  // namespace parquill::mapxml
