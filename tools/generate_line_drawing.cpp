// Writes an R12 drawing (AC1009, Shift-JIS, no subclass markers) of a grid of
// lots drawn as boundary lines rather than closed polylines, the way older
// survey drawings come: shared sides drawn once as separate LINEs, rows drawn
// as long open POLYLINEs, columns as long LINEs crossing the rows without a
// vertex (T-junctions where short sides end on them), the lower-left corner
// rounded by an ARC and the upper-right one by a bulged polyline, overshoots
// past the outer boundary, ends left short by less than the 0.001 tolerance,
// and on request lots left open by a real gap. Every lot carries its lot
// number as a TEXT on 地番, every fourth one justified (the alignment point
// in the lot, the insertion point in the lot to its left).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dxf_text_writer.h"

namespace {

constexpr std::string_view kUsage =
    "usage: parquill-generate-line-drawing [options]\n"
    "  --rows R           rows of lots (default 10)\n"
    "  --cols C           columns of lots (default 10)\n"
    "  --open-lots N      leave N lots of the lowest row open by a 0.05 gap in their\n"
    "                     lower side (they bound no face; default 0)\n"
    "  --text-order ORDER file (lot 1 first, default) or reversed\n"
    "  --pieces K         draw every LINE as K collinear LINEs (default 1)\n"
    "  --twice            draw the line work a second time, every LINE reversed, on\n"
    "                     top of the first (ten times the lines of a plain drawing\n"
    "                     with --pieces 5, the same lots and few more points)\n"
    "  -o, --output PATH  the drawing to write (default: standard output)\n";

// The layer names in Shift-JIS: 筆界 and 地番; 字 before some lot numbers.
const std::string kBoundary = "\x95\x4d\x8a\x45";
const std::string kChibans = "\x92\x6e\x94\xd4";
const std::string kAza = "\x8e\x9a";

constexpr std::int64_t kCell = Tenths(10);       // the side of a lot
constexpr std::int64_t kOriginX = Tenths(1000);  // the lower-left corner of the grid
constexpr std::int64_t kOriginY = Tenths(2000);
constexpr std::int64_t kCornerRadius = Tenths(2);
constexpr std::int64_t kOvershoot = Tenths(0.5);
constexpr std::int64_t kSmallGap = 4;  // 0.0004: closed by the tolerance
constexpr std::int64_t kOpenGap = Tenths(0.05);

struct Options {
  int rows = 10;
  int cols = 10;
  int openLots = 0;
  bool reversed = false;
  int pieces = 1;
  bool twice = false;
  std::string output;
};

class LineDrawing {
 public:
  explicit LineDrawing(const Options& options) : o_(options), dxf_(out_) {}

  std::string Write() {
    Header();
    dxf_.Text("  0", "SECTION");
    dxf_.Text("  2", "ENTITIES");
    for (int pass = 0; pass < (o_.twice ? 2 : 1); ++pass) {
      backwards_ = pass == 1;
      Rows();
      Columns();
      Corners();
    }
    Texts();
    dxf_.Text("  0", "ENDSEC");
    dxf_.Text("  0", "EOF");
    return out_;
  }

 private:
  std::int64_t X(int column) const { return kOriginX + column * kCell; }
  std::int64_t Y(int row) const { return kOriginY + row * kCell; }

  void Header() {
    dxf_.Text("  0", "SECTION");
    dxf_.Text("  2", "HEADER");
    dxf_.Text("  9", "$ACADVER");
    dxf_.Text("  1", "AC1009");
    dxf_.Text("  0", "ENDSEC");
    dxf_.Text("  0", "SECTION");
    dxf_.Text("  2", "TABLES");
    dxf_.Text("  0", "TABLE");
    dxf_.Text("  2", "LAYER");
    dxf_.Int(" 70", 3);
    for (const std::string& layer : {std::string("0"), kBoundary, kChibans}) {
      dxf_.Text("  0", "LAYER");
      dxf_.Text("  2", layer);
      dxf_.Int(" 70", 0);
      dxf_.Int(" 62", 7);
      dxf_.Text("  6", "CONTINUOUS");
    }
    dxf_.Text("  0", "ENDTAB");
    dxf_.Text("  0", "ENDSEC");
  }

  void Line(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    if (backwards_) {
      std::swap(x1, x2);
      std::swap(y1, y2);
    }
    for (int k = 0; k < o_.pieces; ++k) {
      Piece(x1 + (x2 - x1) * k / o_.pieces, y1 + (y2 - y1) * k / o_.pieces,
            x1 + (x2 - x1) * (k + 1) / o_.pieces, y1 + (y2 - y1) * (k + 1) / o_.pieces);
    }
  }

  void Piece(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    dxf_.Text("  0", "LINE");
    dxf_.Text("  8", kBoundary);
    dxf_.Metres(" 10", x1);
    dxf_.Metres(" 20", y1);
    dxf_.Metres(" 30", 0);
    dxf_.Metres(" 11", x2);
    dxf_.Metres(" 21", y2);
    dxf_.Metres(" 31", 0);
  }

  struct Vertex {
    std::int64_t x, y;
    double bulge;
  };
  void Polyline(const std::vector<Vertex>& vertices) {
    dxf_.Text("  0", "POLYLINE");
    dxf_.Text("  8", kBoundary);
    dxf_.Int(" 66", 1);
    dxf_.Metres(" 10", 0);
    dxf_.Metres(" 20", 0);
    dxf_.Metres(" 30", 0);
    dxf_.Int(" 70", 0);
    for (const Vertex& v : vertices) {
      dxf_.Text("  0", "VERTEX");
      dxf_.Text("  8", kBoundary);
      dxf_.Metres(" 10", v.x);
      dxf_.Metres(" 20", v.y);
      dxf_.Metres(" 30", 0);
      if (v.bulge != 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%.15g", v.bulge);
        dxf_.Text(" 42", text);
      }
    }
    dxf_.Text("  0", "SEQEND");
    dxf_.Text("  8", kBoundary);
  }

  // The horizontal sides. The outer rows are separate LINEs, shortened at the
  // rounded corners and, for open lots, by a gap; of the inner rows every
  // third is one POLYLINE with its three points only (the columns cross it
  // without a vertex), every third one with a vertex at every corner, and the
  // rest separate LINEs, some left short by less than the tolerance.
  void Rows() {
    for (int row = 0; row <= o_.rows; ++row) {
      const bool outer = row == 0 || row == o_.rows;
      if (!outer && row % 3 == 1) {
        const std::int64_t middle = (X(0) + X(o_.cols)) / 2 + Tenths(0.37);
        Polyline({{X(0), Y(row), 0}, {middle, Y(row), 0}, {X(o_.cols), Y(row), 0}});
      } else if (!outer && row % 3 == 2) {
        std::vector<Vertex> vertices;
        for (int column = 0; column <= o_.cols; ++column)
          vertices.push_back({X(column), Y(row), 0});
        Polyline(vertices);
      } else {
        for (int column = 0; column < o_.cols; ++column) {
          std::int64_t from = X(column);
          std::int64_t to = X(column + 1);
          if (row == 0 && column == 0) from += kCornerRadius;
          if (row == o_.rows && column == o_.cols - 1) to -= kCornerRadius;
          if (row == 0 && column % 2 == 1 && column / 2 < o_.openLots) from += kOpenGap;
          if (!outer && (row + column) % 5 == 0) from += kSmallGap;
          Line(from, Y(row), to, Y(row));
        }
      }
    }
  }

  // The vertical sides: every fourth inner column one LINE from the bottom to
  // the top, the others separate LINEs; some inner columns overshoot the
  // lowest row.
  void Columns() {
    for (int column = 0; column <= o_.cols; ++column) {
      const bool outer = column == 0 || column == o_.cols;
      if (!outer && column % 4 == 1) {
        Line(X(column), Y(0), X(column), Y(o_.rows));
        continue;
      }
      for (int row = 0; row < o_.rows; ++row) {
        std::int64_t from = Y(row);
        std::int64_t to = Y(row + 1);
        if (column == 0 && row == 0) from += kCornerRadius;
        if (column == o_.cols && row == o_.rows - 1) to -= kCornerRadius;
        if (!outer && row == 0 && column % 4 == 2) from -= kOvershoot;
        if (!outer && (row + column) % 7 == 3) to -= kSmallGap;
        Line(X(column), from, X(column), to);
      }
    }
  }

  // The lower-left corner as an ARC, the upper-right one as a bulged POLYLINE.
  void Corners() {
    dxf_.Text("  0", "ARC");
    dxf_.Text("  8", kBoundary);
    dxf_.Metres(" 10", X(0) + kCornerRadius);
    dxf_.Metres(" 20", Y(0) + kCornerRadius);
    dxf_.Metres(" 30", 0);
    dxf_.Metres(" 40", kCornerRadius);
    dxf_.Text(" 50", "180.0");
    dxf_.Text(" 51", "270.0");
    // A quarter circle clockwise from the top side down to the right side.
    const double quarter = -std::tan(std::acos(-1.0) / 8);
    Polyline({{X(o_.cols) - kCornerRadius, Y(o_.rows), quarter},
              {X(o_.cols), Y(o_.rows) - kCornerRadius, 0}});
  }

  void Texts() {
    const int lots = o_.rows * o_.cols;
    for (int k = 0; k < lots; ++k) {
      const int lot = o_.reversed ? lots - 1 - k : k;
      const int row = lot / o_.cols;
      const int column = lot % o_.cols;
      const std::int64_t x = X(column) + kCell / 2;
      const std::int64_t y = Y(row) + kCell / 2;
      std::string number = std::to_string(lot + 1);
      if ((lot + 1) % 7 == 0) number = kAza + number;
      dxf_.Text("  0", "TEXT");
      dxf_.Text("  8", kChibans);
      const bool justified = lot % 4 == 3;
      dxf_.Metres(" 10", justified ? x - kCell : x);
      dxf_.Metres(" 20", y);
      dxf_.Metres(" 30", 0);
      dxf_.Metres(" 40", Tenths(1));
      dxf_.Text("  1", number);
      if (justified) {
        dxf_.Int(" 72", 1);
        dxf_.Metres(" 11", x);
        dxf_.Metres(" 21", y);
        dxf_.Metres(" 31", 0);
      }
    }
  }

  const Options& o_;
  bool backwards_ = false;  // the second drawing of the line work
  std::string out_;
  DxfTextWriter dxf_;
};

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "parquill-generate-line-drawing: %s\n%.*s", message.c_str(),
               static_cast<int>(kUsage.size()), kUsage.data());
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
      return 0;
    }
    if (arg == "--twice") {
      options.twice = true;
      continue;
    }
    if (i + 1 >= argc) Fail(std::string(arg) + " needs a value");
    const std::string value = argv[++i];
    if (arg == "--rows") {
      options.rows = std::atoi(value.c_str());
    } else if (arg == "--cols") {
      options.cols = std::atoi(value.c_str());
    } else if (arg == "--open-lots") {
      options.openLots = std::atoi(value.c_str());
    } else if (arg == "--text-order") {
      if (value != "file" && value != "reversed") Fail("unknown text order " + value);
      options.reversed = value == "reversed";
    } else if (arg == "--pieces") {
      options.pieces = std::atoi(value.c_str());
    } else if (arg == "-o" || arg == "--output") {
      options.output = value;
    } else {
      Fail("unknown option " + std::string(arg));
    }
  }
  if (options.rows < 1 || options.cols < 2 || options.pieces < 1) {
    Fail("at least 1 row, 2 columns and 1 piece");
  }
  const std::string drawing = LineDrawing(options).Write();
  std::FILE* out = options.output.empty() ? stdout : std::fopen(options.output.c_str(), "wb");
  if (out == nullptr) Fail("cannot write " + options.output);
  const bool written = std::fwrite(drawing.data(), 1, drawing.size(), out) == drawing.size();
  if (out != stdout && std::fclose(out) != 0) Fail("cannot write " + options.output);
  if (!written) Fail("cannot write the drawing");
  return 0;
}
