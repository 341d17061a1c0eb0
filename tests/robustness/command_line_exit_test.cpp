// parquill-cli convert on bad drawings and bad outputs: the exit status says
// what happened (0 done, 3 refused, 4 trapped) and the message names it; a
// failure never ends with 0.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "robustness_support.h"
#include "support/command_run.h"

namespace parquill {
namespace {

using testing::SoundDrawing;
using testing::TempFolder;

struct CliCase {
  const char* what;
  // Prepares the folder; returns the drawing's path and sets the output name.
  std::function<std::string(const TempFolder&, std::string& output)> prepare;
  int status;
  const char* message;  // a piece of what stderr says
};

void PrintTo(const CliCase& c, std::ostream* out) { *out << c.what; }

const CliCase kCliCases[] = {
    {"a sound drawing",
     [](const TempFolder& t, std::string&) { return t.Write("a.dxf", SoundDrawing()); }, 0, ""},
    {"a missing drawing", [](const TempFolder& t, std::string&) { return t.File("none.dxf"); }, 3,
     "DXFのバージョン: DXFのバージョンは、不明です。"},
    {"an empty drawing", [](const TempFolder& t, std::string&) { return t.Write("e.dxf", ""); }, 3,
     "処理不可能です。"},
    {"a folder as the drawing", [](const TempFolder& t, std::string&) { return t.File(""); }, 3,
     "処理不可能です。"},
    {"a binary DXF",
     [](const TempFolder& t, std::string&) {
       return t.Write("b.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22));
     },
     3, "処理不可能です。"},
    {"a drawing cut in a polyline",
     [](const TempFolder& t, std::string&) {
       std::string drawing = SoundDrawing();
       return t.Write("cut.dxf", drawing.substr(0, drawing.find(" 20\r\n0\r\n") + 8));
     },
     4, "TESSARO: エラー番号62"},
    {"an output on a full disk",
     [](const TempFolder& t, std::string& output) {
       std::filesystem::create_symlink("/dev/full", t.File("out.MIF"));
       output = t.File("out.Sim");
       return t.Write("a.dxf", SoundDrawing());
     },
     4, "TESSARO: エラー番号61"},
    {"a SIMA file on a full disk",
     [](const TempFolder& t, std::string& output) {
       std::filesystem::create_symlink("/dev/full", t.File("out.Sim"));
       output = t.File("out.Sim");
       return t.Write("a.dxf", SoundDrawing());
     },
     4, "Brantole: エラー番号61"},
    {"an output in a missing folder",
     [](const TempFolder& t, std::string& output) {
       output = t.File("missing/out.Sim");
       return t.Write("a.dxf", SoundDrawing());
     },
     4, "TESSARO: エラー番号53"},
    {"an output that is a folder",
     [](const TempFolder& t, std::string& output) {
       std::filesystem::create_directory(t.File("out.MIF"));
       output = t.File("out.Sim");
       return t.Write("a.dxf", SoundDrawing());
     },
     4, "TESSARO: エラー番号75"},
};

class CommandLineExitTest : public ::testing::TestWithParam<CliCase> {};

TEST_P(CommandLineExitTest, ExitStatusAndMessageSayWhatHappened) {
  const CliCase& c = GetParam();
  if (::access("/dev/full", W_OK) != 0 && std::string(c.what).find("full") != std::string::npos) {
    GTEST_SKIP() << "/dev/full is not available";
  }
  TempFolder folder;
  std::string output = folder.File("out.Sim");
  std::string drawing = c.prepare(folder, output);
  const testing::CommandRun run = testing::RunCli(
      folder, "convert " + testing::Quoted(drawing) + " --boundary 筆界 --text 地番 --output " +
                  testing::Quoted(output));
  EXPECT_EQ(run.status, c.status) << run.err;
  EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Robustness, CommandLineExitTest, ::testing::ValuesIn(kCliCases),
                         [](const auto& info) { return testing::CaseName(info.param.what); });

}  // namespace
}  // namespace parquill
