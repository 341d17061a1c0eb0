#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "base/line_reader.h"

namespace {

// A temporary drawing-like file: group codes and coordinates, CR LF, about 32 MB.
class DrawingLikeFile {
 public:
  DrawingLikeFile() {
    char name[] = "/tmp/parquill-bench-XXXXXX";
    int fd = ::mkstemp(name);
    path_ = name;
    std::string text;
    for (int i = 0; text.size() < (std::size_t{32} << 20); ++i) {
      text += " 10\r\n-28410.";
      text += std::to_string(1000 + i % 9000);
      text += "\r\n 20\r\n15730.";
      text += std::to_string(i % 1000);
      text += "\r\n";
    }
    bool complete = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!complete) std::fputs("parquill_bench: writing the temporary file failed\n", stderr);
    bytes_ = text.size();
  }
  ~DrawingLikeFile() { ::unlink(path_.c_str()); }
  const std::string& path() const { return path_; }
  std::size_t bytes() const { return bytes_; }

 private:
  std::string path_;
  std::size_t bytes_ = 0;
};

void BM_LineReaderWholeFile(benchmark::State& state) {
  static DrawingLikeFile file;
  for (auto _ : state) {
    parquill::LineReader reader(file.path());
    std::string_view line;
    std::size_t lines = 0;
    while (reader.Next(line)) lines += line.size() > 0;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes()));
}
BENCHMARK(BM_LineReaderWholeFile)->Unit(benchmark::kMillisecond);

}  // namespace
