#include "base/text_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "base/runtime_error.h"

namespace parquill {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 16;

}  // namespace

TextFileWriter::TextFileWriter(const std::string& path, TextEncoding encoding)
    : path_(path), encoding_(encoding) {
  if (path.empty()) ThrowFileError(ENOENT, path);
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) ThrowFileError(errno, path);
  buffer_ = std::make_unique_for_overwrite<char[]>(kFlushSize + kLongestRoom);
}

TextFileWriter::~TextFileWriter() {
  if (fd_ >= 0) {
    try {
      Flush();
    } catch (const RuntimeError&) {
      // Already failing: the error that brought us here is the one reported.
    }
    ::close(fd_);
  }
}

void TextFileWriter::WriteLine(std::string_view text) {
  if (IsAscii(text)) {
    Append(text.data(), text.size());
  } else {
    const std::string encoded = EncodeText(text, encoding_);
    Append(encoded.data(), encoded.size());
  }
  Append("\r\n", 2);
  if (size_ >= kFlushSize) Flush();
}

void TextFileWriter::WriteAsciiLine(std::string_view text) {
  Append(text.data(), text.size());
  Append("\r\n", 2);
  if (size_ >= kFlushSize) Flush();
}

char* TextFileWriter::AsciiLineRoom(std::size_t longest) {
  // Between lines the buffer mostly holds less than kFlushSize bytes: the
  // flush is for a writer that failed and goes on.
  if (size_ + longest + 2 > kFlushSize + kLongestRoom) Flush();
  return buffer_.get() + size_;
}

void TextFileWriter::EndAsciiLine(char* end) {
  std::memcpy(end, "\r\n", 2);
  size_ = static_cast<std::size_t>(end - buffer_.get()) + 2;
  if (size_ >= kFlushSize) Flush();
}

// Adds bytes after the waiting ones, writing out first what no longer fits.
void TextFileWriter::Append(const char* bytes, std::size_t size) {
  const std::size_t capacity = kFlushSize + kLongestRoom;
  while (size_ + size > capacity) {
    const std::size_t part = capacity - size_;
    std::memcpy(buffer_.get() + size_, bytes, part);
    size_ = capacity;
    bytes += part;
    size -= part;
    Flush();
  }
  std::memcpy(buffer_.get() + size_, bytes, size);
  size_ += size;
}

void TextFileWriter::Flush() {
  std::size_t done = 0;
  while (done < size_) {
    ssize_t wrote = ::write(fd_, buffer_.get() + done, size_ - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      std::memmove(buffer_.get(), buffer_.get() + done, size_ - done);
      size_ -= done;
      ThrowFileError(error, path_);
    }
    done += static_cast<std::size_t>(wrote);
  }
  size_ = 0;
}

void TextFileWriter::Close() {
  if (fd_ < 0) return;
  Flush();
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) ThrowFileError(errno, path_);
}

}  // namespace parquill
