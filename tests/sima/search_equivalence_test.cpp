// The indexed searches (the point grid of the point table, the text grid of
// the lot-number attachment) must answer exactly as scans from the start
// would: checked on random maps full of near-tolerance cases.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/limits.h"
#include "base/output_file_names.h"
#include "convert/attachment_step.h"
#include "convert/region_build_step.h"
#include "dxf/chiban_text_reader.h"
#include "geometry/point_in_polygon.h"
#include "sima/point_table.h"
#include "support/layer_choice.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

// Offsets that sit on both sides of the tolerance, in five-decimal steps.
const double kNearOffsets[] = {0,       0.0005,   -0.0005, 0.001,   -0.001, 0.00099,
                               0.00101, -0.00101, 0.0015,  -0.0015, 0.002,  0.004};

// The coordinate a five-decimal text reads as.
double FiveDecimals(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.5f", v);
  return std::strtod(text, nullptr);
}

class SearchEquivalence : public ::testing::Test {
 protected:
  std::mt19937_64 random_{20240611};

  double Pick(const double* values, std::size_t n) { return values[random_() % n]; }
  double Offset() { return Pick(kNearOffsets, std::size(kNearOffsets)); }
  double Uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random_);
  }
};

// ---- the point table --------------------------------------------------------

// The reference: every point compared, from the first.
class PointsByScan {
 public:
  int Find(double x, double y) const {
    for (std::size_t k = 0; k < x_.size(); ++k) {
      if (WithinTolerance(x_[k], x) && WithinTolerance(y_[k], y)) return static_cast<int>(k) + 1;
    }
    return 0;
  }
  int Add(double x, double y) {
    x_.push_back(x);
    y_.push_back(y);
    return static_cast<int>(x_.size());
  }
  int count() const { return static_cast<int>(x_.size()); }

 private:
  std::vector<double> x_, y_;
};

TEST_F(SearchEquivalence, PointTablesFindTheSamePointForEveryQuery) {
  const double bases[] = {0, -28510.25, 123456.78901, 0.0039999, -0.002, 9876543.21};
  for (double base : bases) {
    PointTable indexed;
    PointsByScan linear;
    std::vector<std::pair<double, double>> near;
    // Clusters around a few centres.
    for (int cluster = 0; cluster < 60; ++cluster) {
      // Every other cluster sits on a border of the point grid's cells.
      const double step = cluster % 2 == 0 ? 0.004 : PointTable::kCellWidth;
      const double origin = cluster % 2 == 0 ? base : 0;
      double cx = FiveDecimals(origin + step * static_cast<double>(random_() % 50));
      double cy = FiveDecimals(origin - step * static_cast<double>(random_() % 50));
      int size = 1 + static_cast<int>(random_() % 6);
      for (int i = 0; i < size; ++i) {
        double x = FiveDecimals(cx + Offset());
        double y = FiveDecimals(cy + Offset());
        near.push_back({x, y});
        // Found, or added: the indexed table in one call, partly answered
        // from the very same coordinates met before.
        int expected = linear.Find(x, y);
        if (expected == 0) expected = linear.Add(x, y);
        ASSERT_EQ(indexed.FindOrAdd(x, y), expected) << x << " " << y;
      }
    }
    // The same coordinates again, and with the other zero.
    for (const auto& [x, y] : near) {
      for (auto [qx, qy] : {std::pair{x, y}, std::pair{x == 0 ? -0.0 : x, y == 0 ? -0.0 : y}}) {
        int expected = linear.Find(qx, qy);
        if (expected == 0) expected = linear.Add(qx, qy);
        ASSERT_EQ(indexed.FindOrAdd(qx, qy), expected) << qx << " " << qy;
      }
    }
    ASSERT_EQ(indexed.count(), linear.count());
    for (int q = 0; q < 3000; ++q) {
      const auto& [px, py] = near[random_() % near.size()];
      double x = FiveDecimals(px + Offset());
      double y = FiveDecimals(py + Offset());
      if (q % 7 == 0) x = px + Uniform(-0.0012, 0.0012);  // not on the five-decimal steps
      ASSERT_EQ(indexed.Find(x, y), linear.Find(x, y)) << base << ": " << x << " " << y;
    }
  }
}

TEST_F(SearchEquivalence, PointTablesAgreeFarOutAndOnNonNumbers) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, double> points[] = {
      {1e13, 5},  {1e13 + 0.001, 5}, {-1e12, 1e12}, {1e12 + 0.0005, 1e12},
      {nan, 0},   {inf, 0},          {0, 0},        {1e12 + 0.002, 1e12},
      {1e300, 1}, {-inf, -inf},      {1e12, -1e12}, {999999999999.9995, 0},
  };
  PointTable indexed;
  PointsByScan linear;
  for (const auto& [x, y] : points) {
    ASSERT_EQ(indexed.Find(x, y), linear.Find(x, y)) << x << " " << y;
    if (indexed.Find(x, y) == 0) {
      ASSERT_EQ(indexed.Add(x, y), linear.Add(x, y));
    }
  }
  for (const auto& [x, y] : points) {
    for (double dx : kNearOffsets) {
      ASSERT_EQ(indexed.Find(x + dx, y), linear.Find(x + dx, y)) << x << " " << y << " " << dx;
      ASSERT_EQ(indexed.Find(x - dx, y - dx), linear.Find(x - dx, y - dx)) << x << " " << y;
    }
  }
  // Met again: a NaN or an infinity matches nothing, not even itself.
  for (const auto& [x, y] : points) {
    int expected = linear.Find(x, y);
    if (expected == 0) expected = linear.Add(x, y);
    ASSERT_EQ(indexed.FindOrAdd(x, y), expected) << x << " " << y;
  }
}

// ---- the whole conversion on random maps -------------------------------------

std::string Number(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.5f", v);
  return text;
}

// A drawing of closed LWPOLYLINEs on 筆界 and TEXTs on 地番, in CP932 with CR LF.
class MapDrawing {
 public:
  void Polyline(const std::vector<std::pair<double, double>>& ring) {
    Lines({"  0", "LWPOLYLINE", "100", "AcDbEntity", "  8", kBoundary, "100", "AcDbPolyline", " 90",
           std::to_string(ring.size()), " 70", "1"});
    for (const auto& [x, y] : ring) Lines({" 10", Number(x), " 20", Number(y)});
  }
  void Text(const std::string& number, double x, double y) {
    Lines({"  0", "TEXT", "100", "AcDbEntity", "  8", kChibans, "100", "AcDbText", " 10", Number(x),
           " 20", Number(y), " 40", "2.5", "  1", number, "100", "AcDbText"});
  }
  std::string Bytes() const {
    return "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n" + entities_ + "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  }

 private:
  void Lines(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) entities_ += line + "\r\n";
  }
  const std::string kBoundary = EncodeText("筆界", TextEncoding::kCp932);
  const std::string kChibans = EncodeText("地番", TextEncoding::kCp932);
  std::string entities_;
};

LayerSelection Selecting(int index) {
  LayerSelection selection{{"すべて", "筆界", "地番"}, {false, false, false}, index};
  selection.selected[static_cast<std::size_t>(index)] = true;
  return selection;
}

// The first line where two files differ, for a short failure message.
std::string FirstDifference(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  std::size_t start = a.rfind('\n', i == 0 ? 0 : i - 1);
  start = start == std::string::npos ? 0 : start + 1;
  return "at byte " + std::to_string(i) + ": \"" + a.substr(start, a.find('\r', start) - start) +
         "\" against \"" + b.substr(start, b.find('\r', start) - start) + "\"";
}

// The MID file the attachment writes for the drawing, and the one a scan of
// every text for every region gives.
std::pair<std::string, std::string> MidFiles(const std::string& drawingBytes) {
  TempFolder folder;
  std::string drawing = folder.Write("map.dxf", drawingBytes);
  std::string output = folder.File("map.Sim");
  RegionBuildSummary built;
  EXPECT_TRUE(BuildRegions(testing::Choosing(drawing, output, Selecting(1)), &built).done());
  EXPECT_TRUE(
      AttachChibans(testing::Choosing(drawing, output, {}, Selecting(2)), built.lots).done());
  const ChibanTextRead texts = ReadChibanTexts(drawing, Selecting(2), TextEncoding::kCp932);
  std::string scanned;
  // The regions as the MIF file written says them: "REGION 1", the count,
  // then "x y" lines.
  std::istringstream mif(ReadBytes(OutputFileNamesFor(output).mif));
  std::string line;
  for (int region = 1; std::getline(mif, line);) {
    if (!line.starts_with("REGION")) continue;
    std::getline(mif, line);
    const int count = std::stoi(line);
    std::vector<double> x(static_cast<std::size_t>(count));
    std::vector<double> y(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
      mif >> x[static_cast<std::size_t>(k)] >> y[static_cast<std::size_t>(k)];
    scanned += std::to_string(region++) + ",";
    for (const ChibanText& text : texts.texts) {
      const auto n = static_cast<std::int16_t>(count - 1);
      if (InPolygon(n, x.data(), y.data(), text.x, text.y) <= 0) {
        scanned += text.text;
        break;
      }
    }
    scanned += "\r\n";
  }
  return {DecodeText(ReadBytes(OutputFileNamesFor(output).mid), TextEncoding::kCp932), scanned};
}

TEST_F(SearchEquivalence, SameMidFilesOnRandomMaps) {
  for (int map = 0; map < 24; ++map) {
    const double x0 = map % 3 == 0 ? -28510.25 : (map % 3 == 1 ? 0 : 123456.78901);
    const double y0 = map % 2 == 0 ? 15630.5 : -0.00003;
    const int rows = 2 + static_cast<int>(random_() % 3);
    const int cols = 2 + static_cast<int>(random_() % 4);
    const double side = map % 4 == 0 ? 0.01 : 10;  // tiny lots: everything near the tolerance
    MapDrawing drawing;
    std::vector<std::pair<double, double>> vertices;
    auto corner = [&](int r, int c) {
      return std::pair{FiveDecimals(x0 + side * c), FiveDecimals(y0 + side * r)};
    };
    // The lots, each with its own copies of the shared corners, some moved by
    // a near-tolerance offset, and an extra vertex on some edges.
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < cols; ++c) {
        std::vector<std::pair<double, double>> ring = {corner(r, c), corner(r, c + 1),
                                                       corner(r + 1, c + 1), corner(r + 1, c)};
        for (auto& p : ring) {
          if (random_() % 4 == 0) p = {FiveDecimals(p.first + Offset()), p.second};
          if (random_() % 4 == 0) p = {p.first, FiveDecimals(p.second + Offset())};
        }
        if (random_() % 2 == 0) {
          // A cluster: several vertices within reach of one another on the bottom edge.
          double mid = FiveDecimals((ring[0].first + ring[1].first) / 2);
          ring.insert(ring.begin() + 1, {{mid, ring[0].second},
                                         {FiveDecimals(mid + 0.0005), ring[0].second},
                                         {FiveDecimals(mid + 0.0015), ring[0].second}});
        }
        drawing.Polyline(ring);
        vertices.insert(vertices.end(), ring.begin(), ring.end());
      }
    }
    // Overlapping regions across the map.
    for (int k = 0; k < 3; ++k) {
      double ax = FiveDecimals(x0 + Uniform(-side, side * cols));
      double ay = FiveDecimals(y0 + Uniform(-side, side * rows));
      double w = FiveDecimals(Uniform(side / 4, side * 2)),
             h = FiveDecimals(Uniform(side / 4, side * 2));
      std::vector<std::pair<double, double>> ring = {{ax, ay},
                                                     {FiveDecimals(ax + w), ay},
                                                     {FiveDecimals(ax + w), FiveDecimals(ay + h)},
                                                     {ax, FiveDecimals(ay + h)}};
      drawing.Polyline(ring);
      vertices.insert(vertices.end(), ring.begin(), ring.end());
    }
    // Texts: inside lots, duplicates, exactly on vertices and edges, near
    // them, outside the map.
    const int texts = 10 + static_cast<int>(random_() % 30);
    for (int t = 0; t < texts; ++t) {
      std::string number = std::to_string(100 + t) + "-" + std::to_string(random_() % 3);
      const auto& v = vertices[random_() % vertices.size()];
      const auto& w = vertices[random_() % vertices.size()];
      switch (random_() % 6) {
        case 0:  // on a vertex
          drawing.Text(number, v.first, v.second);
          break;
        case 1:  // on the middle of an edge between two corners
          drawing.Text(number, FiveDecimals(v.first + side / 2), v.second);
          break;
        case 2:  // near a vertex
          drawing.Text(number, FiveDecimals(v.first + Offset()), FiveDecimals(v.second + Offset()));
          break;
        case 3:  // a duplicate at the same point
          drawing.Text(number, v.first, v.second);
          drawing.Text(number + "b", v.first, v.second);
          break;
        case 4:  // anywhere in or around the map
          drawing.Text(number, FiveDecimals((v.first + w.first) / 2),
                       FiveDecimals((v.second + w.second) / 2));
          break;
        default:  // far outside
          drawing.Text(number, x0 - 1000, y0 - 1000);
      }
    }
    const auto [indexed, scanned] = MidFiles(drawing.Bytes());
    ASSERT_TRUE(indexed == scanned)
        << "map " << map << " MID " << FirstDifference(indexed, scanned);
  }
}

}  // namespace
}  // namespace parquill
