// Lots drawn as lines come out in one order whatever order the drawing puts
// their lines, polylines and arcs in: by the lowest-left vertex of each
// clockwise ring, then by the vertices that follow it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/command_run.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill::region_order {

using testing::Joined;
using testing::Lines;
using testing::operator+;
using testing::ReadBytes;
using testing::RunCli;
using testing::TempFolder;

Lines Line(const char* x1, const char* y1, const char* x2, const char* y2) {
  return {"  0", "LINE", "  8", "B", " 10", x1, " 20", y1, " 11", x2, " 21", y2};
}
Lines Text(const char* text, const char* x, const char* y) {
  return {"  0", "TEXT", "  8", "T", " 10", x, " 20", y, " 40", "0.1", "  1", text};
}

// Four triangles fanned about (0, 0), the lowest-left vertex of each, and a
// half disc to their right whose lowest-left vertex is (10, 0). By hand, the
// second vertex of each clockwise ring: T1 (0, 10), T2 (5, 10), T3 (10, 10),
// T4 (10, 5); so the regions are T1, T2, T4 (X 10 and Y 5 before Y 10), T3,
// then T5.
std::vector<Lines> FanEntities() {
  return {
      Line("0", "0", "0", "10"),
      Line("0", "0", "5", "10"),
      Line("0", "0", "10", "10"),
      Line("0", "0", "10", "5"),
      Line("0", "0", "10", "0"),
      Line("10", "10", "10", "5"),
      Line("10", "5", "10", "0"),
      // The top side, as an open polyline.
      {"  0", "LWPOLYLINE", "  8", "B", " 90", "3",  " 70", "0",  " 10", "0",
       " 20", "10",         " 10", "5", " 20", "10", " 10", "10", " 20", "10"},
      // The half disc's arc, from (10, 0) round by (15, 5) to (10, 10).
      {"  0", "ARC", "  8", "B", " 10", "10", " 20", "5", " 40", "5", " 50", "270", " 51", "90"},
      Text("T1", "1.667", "6.667"),
      Text("T2", "5", "6.667"),
      Text("T3", "6.667", "5"),
      Text("T4", "6.667", "1.667"),
      Text("T5", "12.5", "5"),
  };
}

// A LINE drawn the other way.
Lines Reversed(Lines line) {
  std::swap(line[5], line[9]);
  std::swap(line[7], line[11]);
  return line;
}

TEST(RegionOrder, SameWhateverTheDrawingOrder) {
  const std::string mid = "1,T1\r\n2,T2\r\n3,T4\r\n4,T3\r\n5,T5\r\n";
  std::mt19937_64 random(32);
  std::vector<Lines> entities = FanEntities();
  std::string firstMif;
  for (int shuffle = 0; shuffle < 24; ++shuffle) {
    std::shuffle(entities.begin(), entities.end(), random);
    Lines drawn;
    for (const Lines& e : entities)
      drawn = drawn + (e[1] == "LINE" && random() % 2 ? Reversed(e) : e);
    TempFolder folder;
    const std::string path =
        folder.Write("d.dxf", Joined(Lines{"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER",
                                           "  1", "AC1015", "  0", "ENDSEC"} +
                                     testing::Entities(drawn)));
    const auto run =
        RunCli(folder, "convert '" + path + "' --from-lines --boundary B --text T --no-swap");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(folder.File("d.MID")), mid) << "shuffle " << shuffle;
    const std::string mif = ReadBytes(folder.File("d.MIF"));
    if (shuffle == 0) firstMif = mif;
    EXPECT_EQ(mif, firstMif) << "shuffle " << shuffle;
  }
  // The first two regions as written by hand: clockwise from (0, 0).
  EXPECT_NE(firstMif.find("REGION 1\r\n 4 \r\n0.00000 0.00000\r\n0.00000 10.00000\r\n"
                          "5.00000 10.00000\r\n0.00000 0.00000\r\n"
                          "REGION 1\r\n 4 \r\n0.00000 0.00000\r\n5.00000 10.00000\r\n"
                          "10.00000 10.00000\r\n0.00000 0.00000\r\n"),
            std::string::npos)
      << firstMif;
}

}  // namespace parquill::region_order
