#include "text/text_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "text/runtime_error.h"

namespace parquill {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 16;

// Eight bytes at a time: a byte of 0x80 or more has its high bit set.
bool IsAscii(std::string_view s) {
  const char* p = s.data();
  std::size_t n = s.size();
  std::uint64_t high = 0;
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    high |= word;
  }
  for (; n > 0; ++p, --n) high |= static_cast<unsigned char>(*p);
  return (high & 0x8080808080808080ULL) == 0;
}

}  // namespace

TextFileWriter::TextFileWriter(const std::string& path, TextEncoding encoding)
    : path_(path), encoding_(encoding) {
  if (path.empty()) ThrowFileError(ENOENT, path);
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) ThrowFileError(errno, path);
  buffer_.reserve(kFlushSize + 256);
}

TextFileWriter::~TextFileWriter() {
  if (fd_ < 0) return;
  try {
    Flush();
  } catch (const RuntimeError&) {
    // Already failing: the error that brought us here is the one reported.
  }
  ::close(fd_);
}

inline void TextFileWriter::FlushWhenFull() {
  if (buffer_.size() >= kFlushSize && !deferring()) Flush();
}

void TextFileWriter::WriteLine(std::string_view text) {
  if (IsAscii(text)) {
    buffer_.append(text);
  } else {
    buffer_ += EncodeText(text, encoding_);
  }
  buffer_.append("\r\n");
  FlushWhenFull();
}

void TextFileWriter::WriteAsciiLine(std::string_view text) {
  buffer_.append(text);
  buffer_.append("\r\n");
  FlushWhenFull();
}

void TextFileWriter::Defer(std::size_t expectedBytes) {
  if (deferring()) return;
  deferFrom_ = buffer_.size();
  buffer_.reserve(buffer_.size() + expectedBytes + kFlushSize);
}

void TextFileWriter::FillDeferred(std::string_view block) {
  if (!deferring()) return;
  const std::size_t heldFrom = deferFrom_;
  deferFrom_ = kNotDeferring;
  // Written straight from where they are: the block is large, and copying it
  // into the buffer would only touch fresh memory.
  try {
    WriteBytes(std::string_view(buffer_).substr(0, heldFrom));
    WriteBytes(block);
  } catch (const RuntimeError&) {
    buffer_.clear();  // the file ends where the writing failed, nothing out of its order
    throw;
  }
  buffer_.erase(0, heldFrom);
  FlushWhenFull();
}

void TextFileWriter::WriteBytes(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t wrote = ::write(fd_, bytes.data(), bytes.size());
    if (wrote < 0) {
      if (errno == EINTR) continue;
      ThrowFileError(errno, path_);
    }
    bytes.remove_prefix(static_cast<std::size_t>(wrote));
  }
}

void TextFileWriter::Flush() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t wrote = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      buffer_.erase(0, done);
      ThrowFileError(error, path_);
    }
    done += static_cast<std::size_t>(wrote);
  }
  buffer_.clear();
}

void TextFileWriter::Close() {
  if (fd_ < 0) return;
  Flush();
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) ThrowFileError(errno, path_);
}

}  // namespace parquill
