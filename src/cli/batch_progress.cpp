#include "cli/batch_progress.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace parquill::cli {
namespace {

// "3分20秒", "1時間5分", "45秒".
std::string Duration(double seconds) {
  const long whole = std::lround(seconds);
  if (whole >= 3600) {
    return std::to_string(whole / 3600) + "時間" + std::to_string(whole % 3600 / 60) + "分";
  }
  if (whole >= 60) return std::to_string(whole / 60) + "分" + std::to_string(whole % 60) + "秒";
  return std::to_string(whole) + "秒";
}

}  // namespace

int UsableCores() {
  cpu_set_t cores;
  if (::sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(1, CPU_COUNT(&cores));
  return std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN));
}

ProgressLine::ProgressLine() : shown_(::isatty(STDERR_FILENO) == 1) {}

void ProgressLine::Show(const mapxml::MapXmlProgress& progress) {
  if (!shown_) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  std::string line = "地図XML " + std::to_string(progress.done) + "/" +
                     std::to_string(progress.total) + "、筆 " + std::to_string(progress.lots);
  if (seconds > 0) {
    line += "（" + std::to_string(std::llround(progress.lots / seconds)) + " 筆/秒）";
  }
  if (progress.done > 0 && progress.total > progress.done) {
    line += "、残り 約 " + Duration(seconds * (progress.total - progress.done) / progress.done);
  }
  // Back to the start of the line, the line, and the rest of the old one cleared.
  line = "\r" + line + "\033[K";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressLine::Clear() {
  if (!drawn_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace parquill::cli
