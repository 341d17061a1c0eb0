// Output files that cannot be written: a full disk, a folder that does not
// exist or refuses files, an output name that is a folder. Every step ends in
// its trap with the error's number, never as done, and leaves no file open.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "convert/attachment_step.h"
#include "convert/region_build_step.h"
#include "convert/sima_conversion_step.h"
#include "robustness_support.h"
#include "support/layer_choice.h"

// The C library's close() and rename(), made to fail once for a file whose
// name holds `failingName`: the writer must not take a failed close or
// rename for a written file.
namespace {
std::string failingName;  // empty: nothing fails
int failingCloseErrno = 0;
int failingRenameErrno = 0;

bool NamesFailingFile(const std::string& name) {
  return !failingName.empty() && name.find(failingName) != std::string::npos;
}
}  // namespace

extern "C" int close(int fd) {
  std::string name;
  if (failingCloseErrno != 0) {
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t size = ::readlink(link.c_str(), target, sizeof target);
    if (size > 0) name.assign(target, static_cast<std::size_t>(size));
  }
  const int result = static_cast<int>(::syscall(SYS_close, fd));
  if (result == 0 && NamesFailingFile(name)) {
    errno = std::exchange(failingCloseErrno, 0);
    return -1;
  }
  return result;
}

extern "C" int rename(const char* from, const char* to) {
  if (failingRenameErrno != 0 && NamesFailingFile(from)) {
    errno = std::exchange(failingRenameErrno, 0);
    return -1;
  }
  return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 0));
}

namespace parquill {
namespace {

using testing::ChosenLayers;
using testing::OpenFileCount;
using testing::SoundDrawing;
using testing::TempFolder;
using testing::operator+=;

// The three steps of a run, each on its own, with the files it reads in place.
enum class Step { kRegions, kAttach, kConvert };

const char* TitleOf(Step step) { return step == Step::kConvert ? "Brantole" : "TESSARO"; }

// Runs the step on the drawing, to files named after `output`; the later
// steps take the lots the region build made.
Outcome RunStep(Step step, const std::string& drawing, const std::string& output, LotModel& lots) {
  StepHost host;
  switch (step) {
    case Step::kRegions: {
      RegionBuildSummary built;
      const Outcome outcome =
          BuildRegions(testing::Choosing(drawing, output, ChosenLayers({"筆界"})), &built);
      lots = std::move(built.lots);
      return outcome;
    }
    case Step::kAttach:
      return AttachChibans(testing::Choosing(drawing, output, {}, ChosenLayers({"地番"})), lots);
    case Step::kConvert:
      return ConvertToSima(testing::Choosing(drawing, output), lots, host);
  }
  return {};
}

// The file of `step` that the test breaks: what the step writes.
std::string WrittenFile(Step step, const TempFolder& folder) {
  switch (step) {
    case Step::kRegions:
      return folder.File("out.MIF");
    case Step::kAttach:
      return folder.File("out.MID");
    case Step::kConvert:
      return folder.File("out.Sim");
  }
  return {};
}

// A folder with a drawing, the files a sound run leaves before `step` and
// the lots it hands on.
std::string PrepareFolder(const TempFolder& folder, Step step, const std::string& drawingBytes,
                          LotModel& lots) {
  std::string drawing = folder.Write("lots.dxf", drawingBytes);
  std::string output = folder.File("out.Sim");
  if (step != Step::kRegions) {
    EXPECT_TRUE(RunStep(Step::kRegions, drawing, output, lots).done());
  }
  if (step == Step::kConvert) {
    EXPECT_TRUE(RunStep(Step::kAttach, drawing, output, lots).done());
  }
  return drawing;
}

// A drawing of `count` square lots in a row, enough to fill many write buffers.
std::string ManyLots(int count) {
  testing::Lines entities;
  for (int k = 0; k < count; ++k) {
    std::string x0 = std::to_string(k * 10), x1 = std::to_string(k * 10 + 10);
    entities += testing::LwPolyline(testing::Sjis("筆界"), "1",
                                    {{x0, "0"}, {x1, "0"}, {x1, "10"}, {x0, "10"}});
  }
  return testing::Joined(testing::Entities(entities));
}

struct FullDiskCase {
  Step step;
  int lots;  // 2: the file fails at its close; 1500: in the middle of the run
};

void PrintTo(const FullDiskCase& c, std::ostream* out) {
  *out << "step " << static_cast<int>(c.step) << ", " << c.lots << " lots";
}

class FullDiskTest : public ::testing::TestWithParam<FullDiskCase> {};

TEST_P(FullDiskTest, WritingToDevFullIsTrappedAsDiskFull) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "/dev/full is not available";
  const FullDiskCase& c = GetParam();
  TempFolder folder;
  LotModel lots;
  std::string drawing =
      PrepareFolder(folder, c.step, c.lots == 2 ? SoundDrawing() : ManyLots(c.lots), lots);
  std::string written = WrittenFile(c.step, folder);
  std::filesystem::remove(written);
  std::filesystem::create_symlink("/dev/full", written);
  const int openFiles = OpenFileCount();

  Outcome outcome;
  EXPECT_NO_THROW(outcome = RunStep(c.step, drawing, folder.File("out.Sim"), lots));
  EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped);
  EXPECT_EQ(outcome.errorNumber, 61);
  ASSERT_FALSE(outcome.messages.empty());
  EXPECT_EQ(outcome.messages.back().title, TitleOf(c.step));
  EXPECT_TRUE(outcome.messages.back().text.starts_with(
      "エラー番号61\r\nディスクの空き容量が不足しています。"))
      << outcome.messages.back().text;
  EXPECT_EQ(OpenFileCount(), openFiles);
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, FullDiskTest,
    ::testing::Values(FullDiskCase{Step::kRegions, 2}, FullDiskCase{Step::kRegions, 1500},
                      FullDiskCase{Step::kAttach, 2}, FullDiskCase{Step::kAttach, 1500},
                      FullDiskCase{Step::kConvert, 2}, FullDiskCase{Step::kConvert, 1500}));

// A small memory file system that fills up in the middle of the MIF file.
TEST(SmallDiskTest, MifFileThatFillsTheDiskIsTrapped) {
  if (!testing::RunningAsRoot()) GTEST_SKIP() << "mounting a small tmpfs needs root";
  TempFolder folder;
  std::filesystem::path disk = folder.path() / "disk";
  std::filesystem::create_directory(disk);
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "a tmpfs cannot be mounted here: " << std::strerror(errno);
  }
  std::string drawing = folder.Write("lots.dxf", ManyLots(1500));
  const int openFiles = OpenFileCount();
  Outcome outcome =
      BuildRegions(testing::Choosing(drawing, (disk / "out.Sim").string(), ChosenLayers({"筆界"})));
  EXPECT_EQ(OpenFileCount(), openFiles);
  const bool leftOver = !std::filesystem::is_empty(disk);
  ::umount2(disk.c_str(), MNT_DETACH);
  EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped);
  EXPECT_EQ(outcome.errorNumber, 61);
  EXPECT_FALSE(leftOver);  // neither the MIF file nor the part written
}

// Output names that cannot be created at all.
struct BadOutput {
  const char* what;
  Step step;
  std::function<std::string(const TempFolder&)> output;  // the output name to give
  int errorNumber;
};

std::string FolderNamed(const TempFolder& folder, const char* name) {
  std::filesystem::create_directory(folder.File(name));
  return folder.File("out.Sim");
}

// A folder in which no file can be created, even by root: the kernel's
// sysfs refuses new files. Empty when there is none.
std::string ReadOnlyFolder(const TempFolder& folder) {
  if (!testing::RunningAsRoot()) {
    std::filesystem::create_directory(folder.File("ro"));
    std::filesystem::permissions(
        folder.File("ro"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    return folder.File("ro");
  }
  int fd = ::open("/sys/parquill-probe", O_WRONLY | O_CREAT, 0600);
  if (fd >= 0) {
    ::close(fd);
    ::unlink("/sys/parquill-probe");
    return {};
  }
  return errno == EACCES ? "/sys" : "";
}

const BadOutput kBadOutputs[] = {
    {"MIF in a missing folder", Step::kRegions,
     [](const TempFolder& t) { return t.File("no/such/folder/out.Sim"); }, 53},
    {"MIF named by a folder", Step::kRegions,
     [](const TempFolder& t) { return FolderNamed(t, "out.MIF"); }, 75},
    {"MID named by a folder", Step::kAttach,
     [](const TempFolder& t) { return FolderNamed(t, "out.MID"); }, 75},
    {"SIMA file named by a folder", Step::kConvert,
     [](const TempFolder& t) { return FolderNamed(t, "out.Sim"); }, 75},
    {"MIF in a folder that refuses files", Step::kRegions,
     [](const TempFolder& t) {
       std::string ro = ReadOnlyFolder(t);
       return ro.empty() ? std::string() : ro + "/out.Sim";
     },
     70},
};

void PrintTo(const BadOutput& bad, std::ostream* out) { *out << bad.what; }

class BadOutputTest : public ::testing::TestWithParam<BadOutput> {};

TEST_P(BadOutputTest, IsTrappedWithItsErrorNumber) {
  const BadOutput& bad = GetParam();
  TempFolder folder;
  LotModel lots;
  std::string drawing = PrepareFolder(folder, bad.step, SoundDrawing(), lots);
  std::string output = bad.output(folder);
  if (output.empty()) GTEST_SKIP() << "no folder that refuses files here";
  const int openFiles = OpenFileCount();
  Outcome outcome;
  EXPECT_NO_THROW(outcome = RunStep(bad.step, drawing, output, lots));
  EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped);
  EXPECT_EQ(outcome.errorNumber, bad.errorNumber);
  ASSERT_FALSE(outcome.messages.empty());
  EXPECT_EQ(outcome.messages.back().title, TitleOf(bad.step));
  EXPECT_TRUE(outcome.messages.back().text.starts_with("エラー番号" +
                                                       std::to_string(bad.errorNumber) + "\r\n"));
  EXPECT_EQ(OpenFileCount(), openFiles);
}

INSTANTIATE_TEST_SUITE_P(Robustness, BadOutputTest, ::testing::ValuesIn(kBadOutputs),
                         [](const auto& info) { return testing::CaseName(info.param.what); });

// The close() or the rename() that puts a written file in place fails: the
// step ends in its trap, the file of an earlier run stays as it was and no
// part is left behind.
TEST(OutputFailure, FailedCloseOrRenameIsTrapped) {
  for (const Step step : {Step::kRegions, Step::kAttach, Step::kConvert}) {
    for (const bool atClose : {true, false}) {
      TempFolder folder;
      LotModel lots;
      const std::string drawing = PrepareFolder(folder, step, SoundDrawing(), lots);
      const std::string written = WrittenFile(step, folder);
      folder.Write(std::filesystem::path(written).filename().string(), "earlier");
      failingName = std::filesystem::path(written).filename().string() + ".";
      (atClose ? failingCloseErrno : failingRenameErrno) = atClose ? EIO : EXDEV;
      const Outcome outcome = RunStep(step, drawing, folder.File("out.Sim"), lots);
      const bool injected = (atClose ? failingCloseErrno : failingRenameErrno) == 0;
      failingName.clear();
      failingCloseErrno = failingRenameErrno = 0;
      const std::string what = std::string(TitleOf(step)) + (atClose ? " close" : " rename");
      EXPECT_TRUE(injected) << what;
      EXPECT_EQ(outcome.kind, OutcomeKind::kTrapped) << what;
      EXPECT_EQ(outcome.errorNumber, atClose ? 57 : 75) << what;
      EXPECT_EQ(testing::ReadBytes(written), "earlier") << what;
      for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        EXPECT_FALSE(entry.path().string().ends_with(".part")) << what << entry.path();
      }
    }
  }
}

}  // namespace
}  // namespace parquill
