#include "mif/written_regions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "mif/attribute_attachment.h"
#include "convert/region_build_step.h"
#include "mif/region_ring_reader.h"
#include "sima/mif_mid_reader.h"
#include "sima/mif_to_sima_conversion.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"
#include "base/line_reader.h"
#include "base/output_file_names.h"

// The regions the builder keeps while it writes the MIF file must be exactly
// what the attachment and the SIMA conversion's first reading get from the
// file, bit for bit; where the builder cannot tell, it gives them up and the
// readings read the file.
namespace parquill {
namespace {

using testing::Entities;
using testing::operator+=;
using testing::Joined;
using testing::Lines;
using testing::LwPolyline;
using testing::Point;
using testing::Sjis;
using testing::TempFolder;

LayerSelection Selecting(int index) {
  LayerSelection selection{{"すべて", "筆界", "地番"}, {false, false, false}, index};
  selection.selected[static_cast<std::size_t>(index)] = true;
  return selection;
}

Lines Text(const std::string& number, const std::string& x, const std::string& y) {
  return {"  0", "TEXT", "100", "AcDbEntity", "  8", Sjis("地番"), "100",  "AcDbText", " 10",
          x,     " 20",  y,     " 40",        "2.5", "  1",        number, "100",      "AcDbText"};
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void ExpectSameReading(const PointTable& pointsA, const MifReading& a, const PointTable& pointsB,
                       const MifReading& b, const std::string& name) {
  EXPECT_EQ(a.regionCount, b.regionCount) << name;
  EXPECT_EQ(a.delimiter, b.delimiter) << name;
  EXPECT_EQ(a.regionsNumbered, b.regionsNumbered) << name;
  EXPECT_EQ(a.pointNumbers, b.pointNumbers) << name;
  ASSERT_EQ(a.regionStarts.size(), b.regionStarts.size()) << name;
  for (std::size_t i = 0; i < a.regionStarts.size(); ++i) {
    const RegionStart& s = a.regionStarts[i];
    const RegionStart& t = b.regionStarts[i];
    EXPECT_EQ(s.offset, t.offset) << name << " region " << i;
    EXPECT_EQ(s.linesBefore, t.linesBefore) << name << " region " << i;
    EXPECT_EQ(s.pointCount, t.pointCount) << name << " region " << i;
    EXPECT_EQ(s.firstNumber, t.firstNumber) << name << " region " << i;
    EXPECT_EQ(s.closed, t.closed) << name << " region " << i;
  }
  ASSERT_EQ(pointsA.count(), pointsB.count()) << name;
  for (int k = 1; k <= pointsA.count(); ++k) {
    EXPECT_TRUE(SameBits(pointsA.X(k), pointsB.X(k)) && SameBits(pointsA.Y(k), pointsB.Y(k)))
        << name << " point " << k;
  }
}

TEST(WrittenRegions, ReadingsGetWhatTheFileGives) {
  struct Case {
    const char* name;
    std::vector<std::vector<Point>> rings;
    bool kept;  // every point's reading is worked out
  };
  const Case cases[] = {
      {"two lots sharing an edge",
       {{{"0", "0"}, {"10", "0"}, {"10", "10"}, {"0", "10"}},
        {{"10", "0"}, {"20", "0"}, {"20", "10"}, {"10", "10"}}},
       true},
      {"rounding, signs and zeros",
       {{{"-28510.1234546", "15630.0000046"},
         {"-0.000004", "0.0000054"},
         {"0.1", "-0"},
         {"-28510.12346", "15630.99999"}}},
       true},
      {"halves, written another way",
       {{{"15630.000005", "-0.000005"}, {"1", "0"}, {"1", "1"}}},
       false},
      {"eight whole digits and within the tolerance",
       {{{"99999999.99999", "-12345678.123456"},
         {"99999999.9995", "-12345678.1240"},
         {"99999999.998", "-12345678.12"}}},
       true},
      {"nine whole digits",
       {{{"0", "0"}, {"1", "0"}, {"1", "1"}}, {{"123456789.5", "1"}, {"1", "2"}, {"0", "2"}}},
       false},
      {"beyond the plain numbers", {{{"1000000000.5", "0"}, {"1", "0"}, {"1", "1"}}}, false},
  };
  for (const Case& c : cases) {
    Lines entities;
    int lot = 0;
    for (const auto& ring : c.rings) {
      entities += LwPolyline(Sjis("筆界"), "1", ring);
      entities += Text(std::to_string(++lot), ring[0].first, ring[0].second);
    }
    TempFolder folder;
    const std::string drawing = folder.Write("lots.dxf", Joined(Entities(entities)));
    const std::string output = folder.File("lots.Sim");
    WrittenRegions written;
    RegionBuildRequest build{drawing, output, Selecting(1)};
    build.writtenRegions = &written;
    ASSERT_TRUE(BuildRegions(build).done()) << c.name;
    EXPECT_EQ(written.complete(), c.kept) << c.name;
    const OutputFileNames names = OutputFileNamesFor(output);

    // The attachment's reading of the file, region by region.
    if (c.kept) {
      LineReader mif(names.mif);
      RegionRing ring;
      WrittenRegions::Region region;
      std::size_t index = 0;
      for (; ReadNextRegionRing(mif, ring); ++index) {
        ASSERT_TRUE(written.WaitFor(index, region)) << c.name;
        ASSERT_EQ(region.count, ring.count) << c.name;
        for (int i = 0; i < ring.count; ++i) {
          EXPECT_TRUE(SameBits(region.x[i], ring.x[static_cast<std::size_t>(i) + 1]) &&
                      SameBits(region.y[i], ring.y[static_cast<std::size_t>(i) + 1]))
              << c.name << " region " << index << " point " << i;
        }
      }
      EXPECT_FALSE(written.WaitFor(index, region)) << c.name;
    }
    // The attachment itself, from the regions kept or from the file.
    const std::string fileMid = [&] {
      EXPECT_TRUE(AttachLotNumbers({drawing, output, Selecting(2)}).done()) << c.name;
      return testing::ReadBytes(names.mid);
    }();
    AttachRequest attach{drawing, output, Selecting(2)};
    EXPECT_TRUE(AttachLotNumbers(
                    attach,
                    PreparedChibanTexts(ReadChibanTexts(drawing, attach.selection, attach.encoding),
                                        attach.search),
                    nullptr, &written)
                    .done())
        << c.name;
    EXPECT_EQ(testing::ReadBytes(names.mid), fileMid) << c.name;

    // The SIMA conversion's first reading, swapped and not.
    for (bool swap : {true, false}) {
      QuietHost host(swap);
      PointTable filePoints;
      MifReading fileReading;
      ASSERT_FALSE(ReadMifPoints(names.mif, host, filePoints, fileReading)) << c.name;
      PreparedMifReading prepared = PrepareMifReading({drawing, output}, host, nullptr, &written);
      ASSERT_FALSE(prepared.error) << c.name;
      ASSERT_FALSE(prepared.refusal) << c.name;
      ExpectSameReading(*prepared.points, prepared.reading, filePoints, fileReading, c.name);
    }
  }
}

// A reading that follows the builder on another thread gets what it gets
// from the finished file.
TEST(WrittenRegions, AReadingFollowsTheBuilder) {
  Lines entities;
  for (int r = 0; r < 40; ++r) {
    for (int c = 0; c < 30; ++c) {
      auto at = [](int v) { return std::to_string(v * 20.25) + "3"; };
      entities += LwPolyline(
          Sjis("筆界"), "1",
          {{at(c), at(r)}, {at(c + 1), at(r)}, {at(c + 1), at(r + 1)}, {at(c), at(r + 1)}});
    }
  }
  TempFolder folder;
  const std::string drawing = folder.Write("lots.dxf", Joined(Entities(entities)));
  const std::string output = folder.File("lots.Sim");
  WrittenRegions written;
  PreparedMifReading followed;
  std::thread reading([&] {
    QuietHost host(true);
    followed = PrepareMifReading({drawing, output}, host, nullptr, &written);
  });
  RegionBuildRequest build{drawing, output, Selecting(1)};
  build.writtenRegions = &written;
  EXPECT_TRUE(BuildRegions(build).done());
  reading.join();
  ASSERT_TRUE(written.complete());
  ASSERT_FALSE(followed.error);
  QuietHost host(true);
  PointTable filePoints;
  MifReading fileReading;
  ASSERT_FALSE(ReadMifPoints(OutputFileNamesFor(output).mif, host, filePoints, fileReading));
  EXPECT_EQ(fileReading.regionCount, 1200);
  ExpectSameReading(*followed.points, followed.reading, filePoints, fileReading, "followed");
}

// Regions given up, by the room running out or by a build that never writes
// the file, leave no reading waiting and send it to the file.
TEST(WrittenRegions, GivenUpRegionsLeaveTheReadingToTheFile) {
  WrittenRegions tooMany;
  double* x = nullptr;
  double* y = nullptr;
  ASSERT_TRUE(tooMany.Room(3, x, y));
  tooMany.Add(0, 8, 3);
  EXPECT_FALSE(tooMany.Room(static_cast<std::int32_t>(WrittenRegions::kMostPoints), x, y));
  tooMany.Finished();
  WrittenRegions::Region region;
  EXPECT_FALSE(tooMany.complete());

  TempFolder folder;
  WrittenRegions refused;
  RegionBuildRequest build{folder.Write("lots.dxf", "  0\r\nEOF\r\n"), folder.File("lots.Sim"),
                           LayerSelection{{"すべて"}, {false}, 0}};
  build.writtenRegions = &refused;
  EXPECT_FALSE(BuildRegions(build).done());
  EXPECT_FALSE(refused.WaitFor(0, region));
  EXPECT_FALSE(refused.complete());
  QuietHost host(true);
  PreparedMifReading prepared =
      PrepareMifReading({"lots.dxf", build.outputName}, host, nullptr, &refused);
  EXPECT_TRUE(prepared.error);  // the file was never written: error 53, as a reading of it gives
}

}  // namespace
}  // namespace parquill
