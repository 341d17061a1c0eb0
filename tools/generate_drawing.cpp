// parquill-generate-drawing: writes a synthetic cadastral drawing (DXF R2000,
// Shift-JIS, CR LF) of any size, for measuring the converter.
//
// The drawing is a map of rows x cols lots sharing their edges (closed
// LWPOLYLINEs on 筆界), one lot number per lot on 地番 (TEXT, every N-th one
// MTEXT), optional extra texts on 地番 outside every lot, and as many unrelated
// roads, contour lines, notes and symbols on other layers as it takes to reach
// a requested file size, spread before, between and after the lots.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "dxf_text_writer.h"

namespace {

// Layer names and texts as CP932 bytes.
constexpr std::string_view kBoundaryLayer = "\x95\x4d\x8a\x45";         // 筆界
constexpr std::string_view kChibanLayer = "\x92\x6e\x94\xd4";           // 地番
constexpr std::string_view kRoadLayer = "\x93\xb9\x98\x48";             // 道路
constexpr std::string_view kContourLayer = "\x93\x99\x8d\x82\x90\xfc";  // 等高線
constexpr std::string_view kNoteLayer = "\x92\x8d\x8b\x4c";             // 注記
constexpr std::string_view kNorthArrowBlock = "\x95\xfb\x88\xca";       // 方位
constexpr std::string_view kFirstChome = "\x88\xea\x92\x9a\x96\xda";    // 一丁目
constexpr std::string_view kCityRoad = "\x8e\x73\x93\xb9";              // 市道
constexpr std::string_view kRoadNumberSuffix = "\x8d\x86\x90\xfc";      // 号線
constexpr std::string_view kWaterway = "\x90\x85\x98\x48";              // 水路
constexpr std::string_view kBoundaryMark = "\x8b\xab\x8a\x45\x95\x57";  // 境界標

// The map's south-west corner in plane rectangular coordinates.
constexpr std::int64_t kOriginX = Tenths(-28410.25);
constexpr std::int64_t kOriginY = Tenths(15730.5);
// How far the unrelated entities reach beyond the lots.
constexpr std::int64_t kMargin = Tenths(100.0);
constexpr std::int64_t kTextHeight = Tenths(2.5);

constexpr std::size_t kFlushSize = std::size_t{8} << 20;
// Above every handle written, unless --first-handle starts them higher.
constexpr std::uint64_t kHandleSeed = 0x10000000;

enum class TextOrder { kFile, kReversed, kShuffled };

struct Options {
  int rows = 10;
  int cols = 10;
  int edgeVertices = 1;
  TextOrder textOrder = TextOrder::kFile;
  int mtextEvery = 3;
  int outsideTexts = 0;
  double targetMb = 0;
  std::uint64_t seed = 1;
  bool nearTolerance = false;
  std::uint64_t firstHandle = 0x20;
  std::string output = "-";
};

constexpr const char* kUsage =
    "usage: parquill-generate-drawing [OPTIONS] [-o PATH]\n"
    "\n"
    "Writes a cadastral drawing (DXF R2000, Shift-JIS, CR LF): a map of ROWS x COLS\n"
    "lots of about 20 m sharing their edges, closed LWPOLYLINEs on layer 筆界, one\n"
    "lot number per lot on layer 地番, and unrelated entities on 道路, 等高線, 注記.\n"
    "\n"
    "  --rows R             rows of lots (default 10)\n"
    "  --cols C             columns of lots (default 10)\n"
    "  --edge-vertices K    extra vertices on every edge between two corners, shared\n"
    "                       exactly by both neighbours (default 1); the map then has\n"
    "                       (R+1)(C+1) + K((R+1)C + R(C+1)) distinct points\n"
    "  --text-order ORDER   order of the lot numbers in the file: file (the lots'\n"
    "                       order), reversed (the last lot's number first) or\n"
    "                       shuffled (default file)\n"
    "  --mtext-every N      every N-th lot number is an MTEXT \"{\\H2.5;NUMBER}\",\n"
    "                       the others TEXT; 0 for TEXT only (default 3)\n"
    "  --outside-texts M    M more texts on 地番 below the map, outside every lot,\n"
    "                       spread among the lot numbers (default 0)\n"
    "  --target-mb S        add roads (LINE), contour lines (open LWPOLYLINE of up\n"
    "                       to 5000 vertices), notes (TEXT) and symbols (INSERT)\n"
    "                       before, between and after the lots until the file is\n"
    "                       about S MB (10^6 bytes); 0 for a few only (default 0)\n"
    "  --seed N             seed of the pseudo-random choices (default 1)\n"
    "  --near-tolerance     in every fifth lot, move the lot's own copy of its\n"
    "                       south-west corner east by 0.0005, 0.001 or 0.0015 m\n"
    "                       (in turn), so it nearly meets its neighbours' copies\n"
    "  --first-handle H     the first entity handle, in hex (default 20); 10E300\n"
    "                       gives handles such as 10E400 that read as numbers\n"
    "                       beyond the double range\n"
    "  -o, --output PATH    the drawing to write (default: standard output)\n"
    "  -h, --help           this text\n"
    "\n"
    "Lot numbers look like \"100\", \"100-1\"; every 23rd is \"一丁目100-1\". The same\n"
    "options and seed give the same bytes.\n";

// A small, portable pseudo-random generator (splitmix64).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() { return Mix(state_ += 0x9E3779B97F4A7C15ull); }
  // Uniform in [low, high].
  std::int64_t Between(std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(Next() % static_cast<std::uint64_t>(high - low + 1));
  }
  static std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

 private:
  std::uint64_t state_;
};

struct Point {
  std::int64_t x;
  std::int64_t y;
};

// The lots' geometry: corner lines and the extra vertices of every edge, the
// latter computed from the edge's identity so both neighbours get the same.
class LotMap {
 public:
  LotMap(const Options& options) : options_(options) {
    Random random(options.seed);
    xs_.push_back(kOriginX);
    for (int c = 0; c < options.cols; ++c) {
      xs_.push_back(xs_.back() + Tenths(16.0) + random.Between(0, 8000) * 10);
    }
    ys_.push_back(kOriginY);
    for (int r = 0; r < options.rows; ++r) {
      ys_.push_back(ys_.back() + Tenths(17.0) + random.Between(0, 7000) * 10);
    }
  }

  int lots() const { return options_.rows * options_.cols; }
  Point corner(int col, int row) const { return {xs_[col], ys_[row]}; }
  std::int64_t west() const { return xs_.front(); }
  std::int64_t east() const { return xs_.back(); }
  std::int64_t south() const { return ys_.front(); }
  std::int64_t north() const { return ys_.back(); }

  // The boundary of lot `index` (row-major from the south-west), counter-clockwise
  // from its south-west corner.
  std::vector<Point> Boundary(int index) const {
    int row = index / options_.cols;
    int col = index % options_.cols;
    int k = options_.edgeVertices;
    std::vector<Point> points;
    points.reserve(4 * (k + 1));
    auto along = [&](bool horizontal, int line, int cell, bool backwards) {
      for (int i = 0; i < k; ++i) {
        int j = backwards ? k - 1 - i : i;
        points.push_back(EdgeVertex(horizontal, line, cell, j));
      }
    };
    points.push_back(corner(col, row));
    along(true, row, col, false);
    points.push_back(corner(col + 1, row));
    along(false, col + 1, row, false);
    points.push_back(corner(col + 1, row + 1));
    along(true, row + 1, col, true);
    points.push_back(corner(col, row + 1));
    along(false, col, row, true);
    if (options_.nearTolerance && index % 5 == 2) {
      static constexpr std::int64_t kShifts[] = {5, 10, 15};
      points.front().x += kShifts[(index / 5) % 3];
    }
    return points;
  }

  // Where the lot number stands: the middle of the lot's corners.
  Point Middle(int index) const {
    int row = index / options_.cols;
    int col = index % options_.cols;
    return {(xs_[col] + xs_[col + 1]) / 20 * 10, (ys_[row] + ys_[row + 1]) / 20 * 10};
  }

 private:
  // The j-th extra vertex of the edge on corner line `line` (a row line when
  // horizontal, else a column line) beside cell `cell`: evenly spaced along the
  // edge, off the straight line by up to 25 cm.
  Point EdgeVertex(bool horizontal, int line, int cell, int j) const {
    int k = options_.edgeVertices;
    std::uint64_t id = (static_cast<std::uint64_t>(horizontal) << 62) ^
                       (static_cast<std::uint64_t>(line) << 40) ^
                       (static_cast<std::uint64_t>(cell) << 16) ^ static_cast<std::uint64_t>(j);
    std::int64_t offset =
        static_cast<std::int64_t>(Random::Mix(id ^ (options_.seed * 0x2545F4914F6CDD1Dull)) % 501) -
        250;
    offset *= 10;  // whole millimetres
    if (horizontal) {
      std::int64_t a = xs_[cell], b = xs_[cell + 1];
      return {a + (b - a) * (j + 1) / (k + 1) / 10 * 10, ys_[line] + offset};
    }
    std::int64_t a = ys_[cell], b = ys_[cell + 1];
    return {xs_[line] + offset, a + (b - a) * (j + 1) / (k + 1) / 10 * 10};
  }

  const Options& options_;
  std::vector<std::int64_t> xs_;
  std::vector<std::int64_t> ys_;
};

std::string Chiban(int index) {
  int base = 100 + index / 4;
  int branch = index % 4;
  std::string number;
  if (index % 23 == 4) {
    number.append(kFirstChome);
    branch += 1;
  }
  number += std::to_string(base);
  if (branch > 0) number += "-" + std::to_string(branch);
  return number;
}

class DrawingWriter {
 public:
  explicit DrawingWriter(const Options& options)
      : options_(options), map_(options), random_(options.seed ^ 0xD1B54A32D192ED03ull) {}

  bool Write(std::FILE* file) {
    file_ = file;
    modelSpace_ = NewHandle();
    paperSpace_ = NewHandle();
    northArrow_ = NewHandle();
    std::string lots;
    std::vector<std::size_t> entityEnds;
    WriteLots(lots, entityEnds);

    WriteHeaderAndTables();
    WriteBlocks();
    DxfTextWriter(out_).Text("  0", "SECTION");
    DxfTextWriter(out_).Text("  2", "ENTITIES");
    WriteFewUnrelated();

    // The lots in a few groups, unrelated entities before, between and after.
    const std::size_t kGroups =
        std::min<std::size_t>(8, std::max<std::size_t>(1, entityEnds.size()));
    const double tail = 200.0;  // ENDSEC, OBJECTS, EOF
    double budget = options_.targetMb * 1e6 - static_cast<double>(written_ + out_.size()) -
                    static_cast<double>(lots.size()) - tail;
    double portion = budget > 0 ? budget / static_cast<double>(kGroups + 1) : 0;
    std::size_t begin = 0;
    for (std::size_t g = 0; g < kGroups; ++g) {
      WriteUnrelated(portion);
      std::size_t end = entityEnds[(g + 1) * entityEnds.size() / kGroups - 1];
      out_.append(lots, begin, end - begin);
      begin = end;
      if (!FlushIfFull()) return false;
    }
    WriteUnrelated(portion);

    DxfTextWriter dxf(out_);
    dxf.Text("  0", "ENDSEC");
    WriteObjects();
    dxf.Text("  0", "EOF");
    return Flush();
  }

 private:
  std::uint64_t NewHandle() { return nextHandle_++; }

  // Entities with the layout every one of them shares.
  void BeginEntity(DxfTextWriter& dxf, std::string_view type, std::string_view layer,
                   std::string_view subclass, std::uint64_t owner) {
    dxf.Text("  0", type);
    dxf.Handle("  5", NewHandle());
    dxf.Handle("330", owner);
    dxf.Text("100", "AcDbEntity");
    dxf.Text("  8", layer);
    dxf.Text("100", subclass);
  }

  void WritePolyline(DxfTextWriter& dxf, std::string_view layer, const std::vector<Point>& points,
                     bool closed) {
    BeginEntity(dxf, "LWPOLYLINE", layer, "AcDbPolyline", modelSpace_);
    dxf.Int(" 90", static_cast<std::int64_t>(points.size()));
    dxf.Int(" 70", closed ? 1 : 0);
    for (const Point& p : points) {
      dxf.Metres(" 10", p.x);
      dxf.Metres(" 20", p.y);
    }
  }

  void WriteText(DxfTextWriter& dxf, std::string_view layer, Point at, std::int64_t height,
                 std::string_view text) {
    BeginEntity(dxf, "TEXT", layer, "AcDbText", modelSpace_);
    dxf.Metres(" 10", at.x);
    dxf.Metres(" 20", at.y);
    dxf.Text(" 30", "0.0");
    dxf.Metres(" 40", height);
    dxf.Text("  1", text);
    dxf.Text("100", "AcDbText");
  }

  void WriteMText(DxfTextWriter& dxf, std::string_view layer, Point at, std::int64_t height,
                  std::string_view text) {
    BeginEntity(dxf, "MTEXT", layer, "AcDbMText", modelSpace_);
    dxf.Metres(" 10", at.x);
    dxf.Metres(" 20", at.y);
    dxf.Text(" 30", "0.0");
    dxf.Metres(" 40", height);
    dxf.Int(" 71", 1);
    dxf.Text("  1", text);
  }

  void WriteLine(DxfTextWriter& dxf, std::string_view layer, Point from, Point to,
                 std::uint64_t owner) {
    BeginEntity(dxf, "LINE", layer, "AcDbLine", owner);
    dxf.Metres(" 10", from.x);
    dxf.Metres(" 20", from.y);
    dxf.Text(" 30", "0.0");
    dxf.Metres(" 11", to.x);
    dxf.Metres(" 21", to.y);
    dxf.Text(" 31", "0.0");
  }

  void WriteInsert(DxfTextWriter& dxf, Point at) {
    BeginEntity(dxf, "INSERT", kNoteLayer, "AcDbBlockReference", modelSpace_);
    dxf.Text("  2", kNorthArrowBlock);
    dxf.Metres(" 10", at.x);
    dxf.Metres(" 20", at.y);
    dxf.Text(" 30", "0.0");
  }

  // Every lot boundary, then the lot numbers (in the chosen order) with the
  // outside texts spread among them; `entityEnds` marks where each entity ends.
  void WriteLots(std::string& lots, std::vector<std::size_t>& entityEnds) {
    DxfTextWriter dxf(lots);
    int count = map_.lots();
    for (int i = 0; i < count; ++i) {
      WritePolyline(dxf, kBoundaryLayer, map_.Boundary(i), true);
      entityEnds.push_back(lots.size());
    }
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i) order[i] = i;
    if (options_.textOrder == TextOrder::kReversed) {
      std::reverse(order.begin(), order.end());
    } else if (options_.textOrder == TextOrder::kShuffled) {
      for (int i = count - 1; i > 0; --i) std::swap(order[i], order[random_.Between(0, i)]);
    }
    int outside = options_.outsideTexts;
    int outsideWritten = 0;
    int perRow =
        static_cast<int>(std::max<std::int64_t>(1, (map_.east() - map_.west()) / Tenths(8.0)));
    auto writeOutside = [&](int upTo) {
      for (; outsideWritten < upTo; ++outsideWritten) {
        int i = outsideWritten;
        Point at{map_.west() + (i % perRow) * Tenths(8.0),
                 map_.south() - Tenths(10.0) - (i / perRow) * Tenths(4.0)};
        std::string text = std::to_string(9000 + i / 10) + "-" + std::to_string(i % 10 + 1);
        WriteText(dxf, kChibanLayer, at, kTextHeight, text);
        entityEnds.push_back(lots.size());
      }
    };
    for (int position = 0; position < count; ++position) {
      writeOutside(static_cast<int>(static_cast<std::int64_t>(outside) * position / count));
      int lot = order[position];
      std::string number = Chiban(lot);
      if (options_.mtextEvery > 0 && (lot + 1) % options_.mtextEvery == 0) {
        WriteMText(dxf, kChibanLayer, map_.Middle(lot), kTextHeight, "{\\H2.5;" + number + "}");
      } else {
        WriteText(dxf, kChibanLayer, map_.Middle(lot), kTextHeight, number);
      }
      entityEnds.push_back(lots.size());
    }
    writeOutside(outside);
  }

  Point RandomPoint() {
    return {random_.Between(map_.west() - kMargin, map_.east() + kMargin) / 10 * 10,
            random_.Between(map_.south() - kMargin, map_.north() + kMargin) / 10 * 10};
  }

  std::int64_t Clamp(std::int64_t v, std::int64_t low, std::int64_t high) {
    return std::min(std::max(v, low), high);
  }

  // One unrelated entity of any kind, no longer than about `room` bytes.
  void WriteOneUnrelated(DxfTextWriter& dxf, double room) {
    std::int64_t kind = random_.Between(0, 99);
    if (kind < 25 && room > 4000) {
      // A contour line: a smooth random walk of 3 to 5 m steps.
      std::int64_t most = std::min<std::int64_t>(5000, static_cast<std::int64_t>(room / 40));
      std::int64_t n = random_.Between(std::min<std::int64_t>(50, most), most);
      std::vector<Point> points;
      points.reserve(n);
      Point p = RandomPoint();
      std::int64_t dx = random_.Between(-Tenths(3.0), Tenths(3.0));
      std::int64_t dy = random_.Between(-Tenths(3.0), Tenths(3.0));
      for (std::int64_t i = 0; i < n; ++i) {
        points.push_back(p);
        dx = Clamp(dx + random_.Between(-Tenths(0.8), Tenths(0.8)), -Tenths(5.0), Tenths(5.0));
        dy = Clamp(dy + random_.Between(-Tenths(0.8), Tenths(0.8)), -Tenths(5.0), Tenths(5.0));
        std::int64_t x = p.x + dx, y = p.y + dy;
        if (x < map_.west() - kMargin || x > map_.east() + kMargin) dx = -dx;
        if (y < map_.south() - kMargin || y > map_.north() + kMargin) dy = -dy;
        p = {Clamp(x, map_.west() - kMargin, map_.east() + kMargin),
             Clamp(y, map_.south() - kMargin, map_.north() + kMargin)};
      }
      WritePolyline(dxf, kContourLayer, points, false);
    } else if (kind < 55) {
      Point from = RandomPoint();
      Point to{from.x + random_.Between(-Tenths(60.0), Tenths(60.0)) / 10 * 10,
               from.y + random_.Between(-Tenths(60.0), Tenths(60.0)) / 10 * 10};
      WriteLine(dxf, kRoadLayer, from, to, modelSpace_);
    } else if (kind < 90) {
      std::string text;
      switch (kind % 3) {
        case 0:
          text.append(kCityRoad);
          text += std::to_string(random_.Between(1, 300));
          text.append(kRoadNumberSuffix);
          break;
        case 1:
          text.append(kWaterway);
          break;
        default:
          text.append(kBoundaryMark);
          text += std::to_string(random_.Between(1, 9999));
      }
      WriteText(dxf, kNoteLayer, RandomPoint(), Tenths(3.0), text);
    } else {
      WriteInsert(dxf, RandomPoint());
    }
  }

  // One entity of each unrelated kind, so every layer has something on it.
  void WriteFewUnrelated() {
    DxfTextWriter dxf(out_);
    WriteLine(dxf, kRoadLayer, {map_.west() - Tenths(10.0), map_.south() - Tenths(6.0)},
              {map_.east() + Tenths(10.0), map_.south() - Tenths(6.0)}, modelSpace_);
    std::vector<Point> contour;
    for (int i = 0; i < 15; ++i) {
      contour.push_back({map_.west() - Tenths(15.0), map_.south() + i * Tenths(5.0)});
    }
    WritePolyline(dxf, kContourLayer, contour, false);
    std::string note(kCityRoad);
    note += " 1 ";
    note.append(kRoadNumberSuffix);
    WriteText(dxf, kNoteLayer, {map_.west() + Tenths(20.0), map_.south() - Tenths(5.0)},
              Tenths(3.0), note);
    WriteInsert(dxf, {map_.east() + Tenths(10.0), map_.north() + Tenths(10.0)});
  }

  void WriteUnrelated(double bytes) {
    DxfTextWriter dxf(out_);
    std::size_t start = written_ + out_.size();
    while (static_cast<double>(written_ + out_.size() - start) < bytes) {
      WriteOneUnrelated(dxf, bytes - static_cast<double>(written_ + out_.size() - start));
      if (!FlushIfFull()) return;
    }
  }

  void WriteLayer(DxfTextWriter& dxf, std::uint64_t table, std::string_view name, int color) {
    dxf.Text("  0", "LAYER");
    dxf.Handle("  5", NewHandle());
    dxf.Handle("330", table);
    dxf.Text("100", "AcDbSymbolTableRecord");
    dxf.Text("100", "AcDbLayerTableRecord");
    dxf.Text("  2", name);
    dxf.Int(" 70", 0);
    dxf.Int(" 62", color);
    dxf.Text("  6", "Continuous");
  }

  void BeginTable(DxfTextWriter& dxf, std::string_view name, std::uint64_t handle, int count) {
    dxf.Text("  0", "TABLE");
    dxf.Text("  2", name);
    dxf.Handle("  5", handle);
    dxf.Text("330", "0");
    dxf.Text("100", "AcDbSymbolTable");
    dxf.Int(" 70", count);
  }

  void WriteBlockRecord(DxfTextWriter& dxf, std::uint64_t handle, std::uint64_t table,
                        std::string_view name) {
    dxf.Text("  0", "BLOCK_RECORD");
    dxf.Handle("  5", handle);
    dxf.Handle("330", table);
    dxf.Text("100", "AcDbSymbolTableRecord");
    dxf.Text("100", "AcDbBlockTableRecord");
    dxf.Text("  2", name);
  }

  void WriteHeaderAndTables() {
    DxfTextWriter dxf(out_);
    dxf.Text("  0", "SECTION");
    dxf.Text("  2", "HEADER");
    dxf.Text("  9", "$ACADVER");
    dxf.Text("  1", "AC1015");
    dxf.Text("  9", "$DWGCODEPAGE");
    dxf.Text("  3", "ANSI_932");
    dxf.Text("  9", "$HANDSEED");
    dxf.Handle("  5", std::max(kHandleSeed, nextHandle_));
    dxf.Text("  9", "$INSUNITS");
    dxf.Int(" 70", 6);
    dxf.Text("  9", "$EXTMIN");
    dxf.Metres(" 10", map_.west() - kMargin);
    dxf.Metres(" 20", map_.south() - kMargin);
    dxf.Text(" 30", "0.0");
    dxf.Text("  9", "$EXTMAX");
    dxf.Metres(" 10", map_.east() + kMargin);
    dxf.Metres(" 20", map_.north() + kMargin);
    dxf.Text(" 30", "0.0");
    dxf.Text("  0", "ENDSEC");

    dxf.Text("  0", "SECTION");
    dxf.Text("  2", "TABLES");

    std::uint64_t linetypes = NewHandle();
    BeginTable(dxf, "LTYPE", linetypes, 1);
    dxf.Text("  0", "LTYPE");
    dxf.Handle("  5", NewHandle());
    dxf.Handle("330", linetypes);
    dxf.Text("100", "AcDbSymbolTableRecord");
    dxf.Text("100", "AcDbLinetypeTableRecord");
    dxf.Text("  2", "Continuous");
    dxf.Int(" 70", 0);
    dxf.Text("  3", "Solid line");
    dxf.Int(" 72", 65);
    dxf.Int(" 73", 0);
    dxf.Text(" 40", "0.0");
    dxf.Text("  0", "ENDTAB");

    std::uint64_t layers = NewHandle();
    BeginTable(dxf, "LAYER", layers, 7);
    WriteLayer(dxf, layers, "0", 7);
    WriteLayer(dxf, layers, kBoundaryLayer, 1);
    WriteLayer(dxf, layers, kChibanLayer, 3);
    WriteLayer(dxf, layers, kRoadLayer, 8);
    WriteLayer(dxf, layers, kContourLayer, 30);
    WriteLayer(dxf, layers, kNoteLayer, 7);
    dxf.Text("  0", "ENDTAB");

    std::uint64_t styles = NewHandle();
    BeginTable(dxf, "STYLE", styles, 1);
    dxf.Text("  0", "STYLE");
    dxf.Handle("  5", NewHandle());
    dxf.Handle("330", styles);
    dxf.Text("100", "AcDbSymbolTableRecord");
    dxf.Text("100", "AcDbTextStyleTableRecord");
    dxf.Text("  2", "Standard");
    dxf.Int(" 70", 0);
    dxf.Text(" 40", "0.0");
    dxf.Text(" 41", "1.0");
    dxf.Text(" 50", "0.0");
    dxf.Int(" 71", 0);
    dxf.Text(" 42", "2.5");
    dxf.Text("  3", "txt");
    dxf.Text("  4", "");
    dxf.Text("  0", "ENDTAB");

    std::uint64_t records = NewHandle();
    BeginTable(dxf, "BLOCK_RECORD", records, 3);
    WriteBlockRecord(dxf, modelSpace_, records, "*Model_Space");
    WriteBlockRecord(dxf, paperSpace_, records, "*Paper_Space");
    WriteBlockRecord(dxf, northArrow_, records, kNorthArrowBlock);
    dxf.Text("  0", "ENDTAB");
    dxf.Text("  0", "ENDSEC");
  }

  void WriteBlock(DxfTextWriter& dxf, std::uint64_t record, std::string_view name, bool withArrow) {
    dxf.Text("  0", "BLOCK");
    dxf.Handle("  5", NewHandle());
    dxf.Handle("330", record);
    dxf.Text("100", "AcDbEntity");
    dxf.Text("  8", "0");
    dxf.Text("100", "AcDbBlockBegin");
    dxf.Text("  2", name);
    dxf.Int(" 70", 0);
    dxf.Text(" 10", "0.0");
    dxf.Text(" 20", "0.0");
    dxf.Text(" 30", "0.0");
    dxf.Text("  3", name);
    dxf.Text("  1", "");
    if (withArrow) {
      WriteLine(dxf, "0", {0, -Tenths(4.0)}, {0, Tenths(4.0)}, record);
      WriteLine(dxf, "0", {-Tenths(1.5), Tenths(2.0)}, {0, Tenths(4.0)}, record);
      WriteLine(dxf, "0", {Tenths(1.5), Tenths(2.0)}, {0, Tenths(4.0)}, record);
    }
    dxf.Text("  0", "ENDBLK");
    dxf.Handle("  5", NewHandle());
    dxf.Handle("330", record);
    dxf.Text("100", "AcDbEntity");
    dxf.Text("  8", "0");
    dxf.Text("100", "AcDbBlockEnd");
  }

  void WriteBlocks() {
    DxfTextWriter dxf(out_);
    dxf.Text("  0", "SECTION");
    dxf.Text("  2", "BLOCKS");
    WriteBlock(dxf, modelSpace_, "*Model_Space", false);
    WriteBlock(dxf, paperSpace_, "*Paper_Space", false);
    WriteBlock(dxf, northArrow_, kNorthArrowBlock, true);
    dxf.Text("  0", "ENDSEC");
  }

  void WriteObjects() {
    DxfTextWriter dxf(out_);
    dxf.Text("  0", "SECTION");
    dxf.Text("  2", "OBJECTS");
    dxf.Text("  0", "DICTIONARY");
    dxf.Handle("  5", NewHandle());
    dxf.Text("330", "0");
    dxf.Text("100", "AcDbDictionary");
    dxf.Int("281", 1);
    dxf.Text("  0", "ENDSEC");
  }

  bool FlushIfFull() { return out_.size() < kFlushSize || Flush(); }

  bool Flush() {
    if (!out_.empty() && std::fwrite(out_.data(), 1, out_.size(), file_) != out_.size()) {
      return false;
    }
    written_ += out_.size();
    out_.clear();
    return true;
  }

  const Options& options_;
  LotMap map_;
  Random random_;
  std::FILE* file_ = nullptr;
  std::string out_;
  std::size_t written_ = 0;
  std::uint64_t nextHandle_ = options_.firstHandle;
  std::uint64_t modelSpace_ = 0;
  std::uint64_t paperSpace_ = 0;
  std::uint64_t northArrow_ = 0;
};

bool ParseInt(const char* text, long long low, long long high, long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "parquill-generate-drawing: %s\n(--help for the options)\n",
               message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--near-tolerance") {
      options.nearTolerance = true;
      continue;
    }
    if (i + 1 >= argc) return UsageError("unknown option or missing value: " + std::string(arg));
    const char* value = argv[++i];
    long long number = 0;
    auto integer = [&](long long low, long long high, auto& field) {
      if (!ParseInt(value, low, high, number)) return false;
      field = static_cast<std::remove_reference_t<decltype(field)>>(number);
      return true;
    };
    bool ok = true;
    if (arg == "--rows") {
      ok = integer(1, 100000, options.rows);
    } else if (arg == "--cols") {
      ok = integer(1, 100000, options.cols);
    } else if (arg == "--edge-vertices") {
      ok = integer(0, 1000, options.edgeVertices);
    } else if (arg == "--mtext-every") {
      ok = integer(0, 1000000, options.mtextEvery);
    } else if (arg == "--outside-texts") {
      ok = integer(0, 100000000, options.outsideTexts);
    } else if (arg == "--seed") {
      ok = integer(0, 0x7FFFFFFFFFFFFFFFll, options.seed);
    } else if (arg == "--text-order") {
      std::string_view order = value;
      if (order == "file") {
        options.textOrder = TextOrder::kFile;
      } else if (order == "reversed") {
        options.textOrder = TextOrder::kReversed;
      } else if (order == "shuffled") {
        options.textOrder = TextOrder::kShuffled;
      } else {
        ok = false;
      }
    } else if (arg == "--first-handle") {
      char* end = nullptr;
      errno = 0;
      options.firstHandle = std::strtoull(value, &end, 16);
      ok = errno == 0 && end != value && *end == '\0' && options.firstHandle > 0 &&
           options.firstHandle < 0x1000000000000ull;
    } else if (arg == "--target-mb") {
      char* end = nullptr;
      options.targetMb = std::strtod(value, &end);
      ok = end != value && *end == '\0' && options.targetMb >= 0 && options.targetMb < 1e6;
    } else if (arg == "-o" || arg == "--output") {
      options.output = value;
    } else {
      return UsageError("unknown option: " + std::string(arg));
    }
    if (!ok) return UsageError("bad value for " + std::string(arg) + ": " + value);
  }
  if (static_cast<long long>(options.rows) * options.cols > 50000000) {
    return UsageError("too many lots");
  }

  std::FILE* file = options.output == "-" ? stdout : std::fopen(options.output.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "parquill-generate-drawing: cannot write %s: %s\n", options.output.c_str(),
                 std::strerror(errno));
    return 1;
  }
  DrawingWriter writer(options);
  bool ok = writer.Write(file);
  if (file != stdout)
    ok = std::fclose(file) == 0 && ok;
  else
    ok = std::fflush(stdout) == 0 && ok;
  if (!ok) {
    std::fprintf(stderr, "parquill-generate-drawing: writing %s failed: %s\n",
                 options.output.c_str(), std::strerror(errno));
    return 1;
  }
  return 0;
}
