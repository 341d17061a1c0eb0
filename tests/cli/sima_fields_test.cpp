// The SIMA file of a small drawing decoded strictly as CP932 (iconv refuses
// any byte that is no character) and split into its fields: every record
// with its number of fields, coordinates of 0, 1 and -1, and a lot number
// holding a comma.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "support/command_run.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill::sima_fields {

using testing::Joined;
using testing::Lines;
using testing::LwPolyline;
using testing::operator+;
using testing::RunCli;
using testing::RunCommand;
using testing::TempFolder;

std::vector<std::string> Fields(const std::string& record) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t comma; (comma = record.find(',', start)) != std::string::npos; start = comma + 1)
    fields.push_back(record.substr(start, comma - start));
  fields.push_back(record.substr(start));
  return fields;
}

TEST(SimaFields, EveryRecordDecodedStrictlyAndSplit) {
  if (!testing::Installed("iconv")) GTEST_SKIP() << "iconv is not installed";
  TempFolder folder;
  auto text = [](const std::string& string, const char* x, const char* y) {
    return Lines{"  0", "TEXT", "  8", "T",    " 10", x,          " 20", y,
                 " 40", "0.1",  "  1", string, "100", "AcDbText", "100", "AcDbText"};
  };
  const Lines drawing =
      Lines{"  0", "SECTION",  "  2", "HEADER",
            "  9", "$ACADVER", "  1", "AC1015",
            "  0", "ENDSEC",   "  0", "SECTION",
            "  2", "TABLES",   "100", "AcDbLayerTableRecord",
            "  2", "B",        "100", "AcDbLayerTableRecord",
            "  2", "T",        "  0", "ENDSEC"} +
      testing::Entities(LwPolyline("B", "1", {{"0", "0"}, {"1", "0"}, {"1", "-1"}, {"0", "-1"}}) +
                        LwPolyline("B", "1", {{"1", "0"}, {"12", "0"}, {"12", "5"}, {"1", "5"}}) +
                        text("12,3", "0.5", "-0.5") + text("7", "5", "2"));
  const std::string path = folder.Write("d.dxf", Joined(drawing));
  const auto run = RunCli(folder, "convert '" + path + "' --boundary B --text T");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto decoded =
      RunCommand(folder, "iconv -f CP932 -t UTF-8 " + testing::Quoted(folder.File("d.Sim")));
  ASSERT_EQ(decoded.status, 0) << decoded.err;
  // By hand: X and Y exchanged, every point once in the order the lots use
  // them, whole numbers without decimals; the comma of the lot number is
  // written full-width so that the record keeps its fields.
  const std::vector<std::vector<std::string>> expected = {
      {"G00", "01", "オルベックＬｏｔｗｅａｖｅｒデータ"},
      {"Z00", "/SIMA共通フォーマットデータ/", ""},
      {"Z00", "/座標点数:7 筆個数:2/", ""},
      {"Z00", "/座標/", ""},
      {"A00", ""},
      {"A01", "    1", "K1", "0", "0", "", ""},
      {"A01", "    2", "K2", "0", "1", "", ""},
      {"A01", "    3", "K3", "-1", "1", "", ""},
      {"A01", "    4", "K4", "-1", "0", "", ""},
      {"A01", "    5", "K5", "0", "12", "", ""},
      {"A01", "    6", "K6", "5", "12", "", ""},
      {"A01", "    7", "K7", "5", "1", "", ""},
      {"A99", ""},
      {"Z00", "/筆 12，3/", ""},
      {"D00", "    1", "12，3", "1", ""},
      {"B01", "    1", "K1", ""},
      {"B01", "    2", "K2", ""},
      {"B01", "    3", "K3", ""},
      {"B01", "    4", "K4", ""},
      {"D99", ""},
      {"Z00", "/筆 7/", ""},
      {"D00", "    2", "7", "1", ""},
      {"B01", "    2", "K2", ""},
      {"B01", "    5", "K5", ""},
      {"B01", "    6", "K6", ""},
      {"B01", "    7", "K7", ""},
      {"D99", ""},
  };
  std::istringstream lines(decoded.out);
  std::string line;
  std::size_t k = 0;
  for (; std::getline(lines, line); ++k) {
    ASSERT_FALSE(line.empty()) << k;
    ASSERT_EQ(line.back(), '\r') << k;  // CR LF
    line.pop_back();
    ASSERT_LT(k, expected.size()) << line;
    EXPECT_EQ(Fields(line), expected[k]) << line;
  }
  EXPECT_EQ(k, expected.size());
}

}  // namespace parquill::sima_fields
