#include "mif/mif_format.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "text/text_file_writer.h"

namespace parquill {
namespace {

TEST(MifCoordinate, FiveDecimalsEveryIntegerDigit) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0.25, "0.25000"},
      {-3.5, "-3.50000"},
      {1.234567, "1.23457"},
      {12345678.5, "12345678.50000"},
      {0, "0.00000"},
      {-0.0, "0.00000"},
      {-0.000001, "0.00000"},   // rounds to zero: no sign
      {-0.000005, "-0.00001"},  // the binary value lies just beyond the half
      {0.000004, "0.00000"},
      {-28410.25, "-28410.25000"},
      {15730.5, "15730.50000"},
      {99999.999999, "100000.00000"},
      {1e15, "1000000000000000.00000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatMifCoordinate(c.value), c.text) << c.value;
  }
}

TEST(MifCoordinate, PointAndCountLines) {
  EXPECT_EQ(MifPointLine(-3.5, 0.25), "-3.50000 0.25000");
  EXPECT_EQ(MifPointCountLine(5), " 5 ");
  EXPECT_EQ(MifPointCountLine(1000), " 1000 ");
  std::string reused = "old text";
  FormatMifPointLine(reused, 1, 2);
  EXPECT_EQ(reused, "1.00000 2.00000");
}

TEST(MifHeader, EightLinesWithCrLf) {
  testing::TempFolder folder;
  std::string path = folder.File("a.MIF");
  TextFileWriter mif(path, TextEncoding::kCp932);
  WriteMifHeader(mif);
  mif.Close();
  EXPECT_EQ(testing::ReadBytes(path),
            "Version 300\r\n"
            "Charset \"WindowsJapanese\"\r\n"
            "Delimiter \",\"\r\n"
            "Coordsys Earth Projection 1,0\r\n"
            "Columns 2\r\n"
            "   ID Char(8)\r\n"
            "   Chiban Char(20)\r\n"
            "Data\r\n");
}

}  // namespace
}  // namespace parquill
