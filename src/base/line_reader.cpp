#include "base/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "base/runtime_error.h"

namespace parquill {
namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
// Reads of 64 KiB: large enough that a read costs little per byte, small
// enough that the buffer's pages a conversion touches (and the kernel must
// provide) stay few.
constexpr std::size_t kReadSize = std::size_t{1} << 16;

}  // namespace

LineReader::LineReader(const std::string& path) : path_(path) {
  if (path.empty()) throw RuntimeError(kFileNotFound);
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) ThrowFileError(errno, path);
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
    int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
    ::close(fd_);
    fd_ = -1;
    ThrowFileError(error, path);
  }
  size_ = static_cast<double>(info.st_size);
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  capacity_ = kLongestLine + kReadSize + 1;
  // Left uninitialised: only the pages that lines reach are ever touched.
  buffer_ = std::make_unique_for_overwrite<char[]>(capacity_ + kZerosAfterBuffered);
  std::memset(buffer_.get(), 0, kZerosAfterBuffered);
}

LineReader::~LineReader() {
  if (fd_ >= 0) ::close(fd_);
}

// Position of the first CR or LF at or after begin_, or kNotFound. Eight
// bytes at a time (the zeros after the bytes read end the last word); the
// bytes before scanned_ are known to hold none, so every byte is scanned once.
std::size_t LineReader::FindLineEnd() {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  std::size_t at = scanned_ > begin_ ? scanned_ : begin_;
  for (; at < end_; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, buffer_.get() + at, sizeof word);
    const std::uint64_t lf = word ^ (kOnes * '\n');
    const std::uint64_t cr = word ^ (kOnes * '\r');
    // A zero byte of lf or cr is a line end; the lowest flag is exact.
    const std::uint64_t ends = (((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighs;
    if (ends != 0) {
      scanned_ = at + static_cast<std::size_t>(std::countr_zero(ends) / 8);
      return scanned_;
    }
  }
  scanned_ = end_;
  return kNotFound;
}

void LineReader::Fill() {
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    scanned_ = scanned_ > begin_ ? scanned_ - begin_ : 0;
    begin_ = 0;
  }
  std::size_t room = capacity_ - end_;
  if (room > kReadSize) room = kReadSize;
  for (;;) {
    ssize_t got = ::read(fd_, buffer_.get() + end_, room);
    if (got > 0) {
      end_ += static_cast<std::size_t>(got);
      std::memset(buffer_.get() + end_, 0, kZerosAfterBuffered);
      bytesRead_ += static_cast<double>(got);
      if (reportShareRead_ && size_ > 0) reportShareRead_(std::min(1.0, bytesRead_ / size_));
      return;
    }
    if (got == 0) {
      std::memset(buffer_.get() + end_, 0, kZerosAfterBuffered);
      eof_ = true;
      return;
    }
    if (errno != EINTR) ThrowFileError(errno, path_);
  }
}

bool LineReader::Next(std::string_view& line) {
  for (;;) {
    const std::size_t stop = FindLineEnd();
    if (stop != kNotFound) {
      if (stop - begin_ > kLongestLine) break;
      const bool cr = buffer_[stop] == '\r';
      if (cr && stop + 1 == end_ && !eof_) {
        Fill();  // is the CR followed by an LF? Read on to know.
        continue;
      }
      line = std::string_view(buffer_.get() + begin_, stop - begin_);
      std::size_t next = stop + 1;
      if (cr && next < end_ && buffer_[next] == '\n') ++next;
      begin_ = next;
      ++lineNumber_;
      return true;
    }
    if (end_ - begin_ > kLongestLine) break;
    if (eof_) {
      if (begin_ == end_) return false;
      line = std::string_view(buffer_.get() + begin_, end_ - begin_);
      begin_ = end_;
      ++lineNumber_;
      return true;
    }
    Fill();
  }
  throw RuntimeError(kOutOfMemory, "1 行が長すぎます（" + std::to_string(kLongestLine) +
                                       " バイトを超えています）。行 " +
                                       std::to_string(lineNumber_ + 1) + " (" + path_ + ")");
}

std::string_view LineReader::Require() {
  std::string_view line;
  if (!Next(line)) throw RuntimeError(kInputPastEnd);
  return line;
}

}  // namespace parquill
