#include "base/text_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/runtime_error.h"

namespace parquill {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 16;
// How many names a new file beside the named one tries before giving up.
constexpr int kPartNameTries = 100;

// "folder/.name.12345-7.part": hidden, in the named file's folder (so the
// renaming never crosses volumes), and new for every writer of the process,
// whichever thread it writes on.
std::string PartPath(const std::string& path, int attempt) {
  static std::atomic<unsigned> serial = 0;
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, nameStart) + "." + path.substr(nameStart) + "." +
         std::to_string(::getpid()) + "-" + std::to_string(++serial + attempt) + ".part";
}

}  // namespace

TextFileWriter::TextFileWriter(const std::string& path, TextEncoding encoding)
    : path_(path), encoding_(encoding) {
  if (path.empty()) ThrowFileError(ENOENT, path);
  buffer_ = std::make_unique_for_overwrite<char[]>(kFlushSize + kLongestRoom);
  struct stat named {};
  if (::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
    // A device or a folder: written (or refused) in place, there is nothing to put aside.
    fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) ThrowFileError(errno, path);
    return;
  }
  // A link to a file: the file it names is replaced, the link stays.
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr)
    target_ = resolved;
  else
    target_ = path;
  for (int attempt = 0; fd_ < 0; ++attempt) {
    partPath_ = PartPath(target_, attempt);
    fd_ = ::open(partPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno != EEXIST || attempt == kPartNameTries)) ThrowFileError(errno, path);
  }
}

TextFileWriter::~TextFileWriter() {
  if (fd_ < 0 && !finished_) return;
  if (fd_ >= 0) ::close(fd_);
  if (!partPath_.empty()) ::unlink(partPath_.c_str());
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

void TextFileWriter::Finish() {
  if (fd_ < 0) return;
  Flush();
  const int fd = fd_;
  fd_ = -1;
  const int error = ::close(fd) != 0 && errno != EINTR ? errno : 0;
  if (error != 0) {
    if (!partPath_.empty()) ::unlink(partPath_.c_str());
    ThrowFileError(error, path_);
  }
  finished_ = true;
}

void TextFileWriter::Close() {
  Finish();
  if (!finished_) return;
  finished_ = false;
  if (partPath_.empty()) return;
  if (std::rename(partPath_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    ::unlink(partPath_.c_str());
    ThrowFileError(error, path_);
  }
}

void CloseTogether(const std::vector<TextFileWriter*>& writers) {
  for (TextFileWriter* writer : writers) writer->Finish();
  for (TextFileWriter* writer : writers) writer->Close();
}

}  // namespace parquill
