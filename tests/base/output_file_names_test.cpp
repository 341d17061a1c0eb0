#include "base/output_file_names.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace parquill {
namespace {

TEST(OutputFileNames, BaseUpToTheLastDotOfTheFileName) {
  struct Case {
    const char* output;
    const char* mif;
    const char* mid;
  };
  const Case cases[] = {
      {"/data/SAMPLE.Sim", "/data/SAMPLE.MIF", "/data/SAMPLE.MID"},
      {"/data/a.b.Sim", "/data/a.b.MIF", "/data/a.b.MID"},
      {"/data.d/SAMPLE", "/data.d/SAMPLE.MIF", "/data.d/SAMPLE.MID"},
      {"/data/v1.2/result", "/data/v1.2/result.MIF", "/data/v1.2/result.MID"},
      {"result", "result.MIF", "result.MID"},
      {"", ".MIF", ".MID"},
      {"x.", "x.MIF", "x.MID"},
  };
  for (const auto& c : cases) {
    OutputFileNames names = OutputFileNamesFor(c.output);
    EXPECT_EQ(names.sima, c.output);
    EXPECT_EQ(names.mif, c.mif) << c.output;
    EXPECT_EQ(names.mid, c.mid) << c.output;
  }
}

TEST(OutputFileNames, ProposedNameUpToTheFirstDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"SAMPLE.DXF", "SAMPLE.Sim"}, {"a.b.dxf", "a.Sim"}, {".dxf", ".Sim"}, {"noext", "noext.Sim"}};
  for (auto [file, proposed] : cases) EXPECT_EQ(ProposedOutputFileName(file), proposed) << file;
}

TEST(OutputFileNames, SameFileByPathOrOnDisk) {
  testing::TempFolder folder;
  std::string drawing = folder.Write("d.dxf", "x");
  EXPECT_TRUE(NamesSameFile(drawing, drawing));
  EXPECT_TRUE(NamesSameFile(drawing, folder.path().string() + "/./d.dxf"));
  EXPECT_TRUE(NamesSameFile(folder.File("new.Sim"), folder.File("new.Sim")));
  EXPECT_FALSE(NamesSameFile(drawing, folder.File("d.Sim")));
  EXPECT_FALSE(NamesSameFile("", ""));
  std::filesystem::create_hard_link(drawing, folder.File("link.Sim"));
  EXPECT_TRUE(NamesSameFile(drawing, folder.File("link.Sim")));
}

}  // namespace
}  // namespace parquill
