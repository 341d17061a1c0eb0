// What the 地図XML outputs add to the shared writers: the plane zones on
// JGD2011 as GDAL writes them, and SIMA points with names of their own.
#include <gtest/gtest.h>

#include <string>

#include "mif/plane_zone.h"
#include "sima/kokudo_records.h"

namespace parquill {
namespace {

TEST(PlaneDatum, Jgd2011AsGdalWritesItAndJgd2000AsBefore) {
  // ogr2ogr -f "MapInfo File" -a_srs EPSG:6677 (and EPSG:2451, the same zone on JGD2000).
  EXPECT_EQ(MifCoordinateSystemLine(9, PlaneDatum::kJgd2011),
            "CoordSys Earth Projection 8, 104, \"m\", 139.833333333333, 36, 0.9999, 0, 0");
  EXPECT_EQ(MifCoordinateSystemLine(9, PlaneDatum::kJgd2000),
            "CoordSys Earth Projection 8, 152, \"m\", 139.833333333333, 36, 0.9999, 0, 0");
  EXPECT_EQ(MifCoordinateSystemLine(0, PlaneDatum::kJgd2011), "Coordsys Earth Projection 1,0");
}

TEST(PlaneDatum, SimaPointsWithTheirOwnNames) {
  struct Case {
    int number;
    const char* name;
    std::string a01;
    std::string b01;
  };
  const Case cases[] = {
      {1, "62600", "A01,    1,62600,-297342.463,-34366.85,,", "B01,    1,62600,"},
      {40000, "", "A01,40000,K40000,-297342.463,-34366.85,,", "B01,40000,K40000,"},
      {123456, "点1", "A01,123456,点1,-297342.463,-34366.85,,", "B01,123456,点1,"},
  };
  for (const Case& c : cases) {
    std::string a01;
    kokudo::AppendSimaA01(a01, c.number, c.name, -297342.463, -34366.85);
    EXPECT_EQ(a01, c.a01);
    std::string b01;
    kokudo::AppendSimaB01(b01, c.number, c.name);
    EXPECT_EQ(b01, c.b01);
  }
  EXPECT_EQ(kokudo::SimaD00(40000, "2740-1", 1), "D00,40000,2740-1,1,");
}

}  // namespace
}  // namespace parquill
