#include "base/growing_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "base/line_reader.h"
#include "base/runtime_error.h"
#include "base/text_file_writer.h"

namespace parquill {
namespace {

std::vector<std::string> LinesOf(LineReader& reader) {
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(line)) lines.emplace_back(line);
  return lines;
}

// A reader that follows a file while another thread writes it, in pieces cut
// anywhere (a CR LF split between two writes too), reads what a reader of the
// finished file reads.
TEST(GrowingFile, ReaderFollowingTheWriterReadsTheFinishedFile) {
  std::mt19937 random(11);
  const char* ends[] = {"\r\n", "\r", "\n"};
  for (int round = 0; round < 12; ++round) {
    std::string bytes;
    const int lines = 100 + static_cast<int>(random() % 4000);
    for (int i = 0; i < lines; ++i) {
      bytes += std::string(random() % 120, static_cast<char>('A' + i % 26));
      bytes += ends[random() % 3];
    }
    if (round % 3 == 0) bytes += "last line without its end";
    testing::TempFolder folder;
    const std::string path = folder.File("growing.MIF");

    GrowingFile progress;
    std::vector<std::string> followed;
    std::thread reader([&] {
      LineReader following(path, progress);
      followed = LinesOf(following);
    });
    {
      TextFileWriter writer(path, TextEncoding::kCp932);
      writer.ReportTo(progress);
      for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t piece = std::min<std::size_t>(bytes.size() - at, 1 + random() % 70000);
        writer.WriteEncodedLines(std::string_view(bytes).substr(at, piece));
        at += piece;
        if (random() % 4 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
      writer.Close();
    }
    reader.join();
    LineReader finished(path);
    EXPECT_EQ(followed, LinesOf(finished)) << round;
  }
}

TEST(GrowingFile, WriterThatNeverOpensTheFileLeavesNothingToRead) {
  testing::TempFolder folder;
  const std::string path = folder.Write("old.MIF", "an older file\r\n");
  GrowingFile progress;
  progress.Finished();
  try {
    LineReader following(path, progress);
    FAIL() << "read a file its writer never opened";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 53);
  }
}

}  // namespace
}  // namespace parquill
