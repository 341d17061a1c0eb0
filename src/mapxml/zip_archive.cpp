#include "mapxml/zip_archive.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "mapxml/mapxml_error.h"
#include "mapxml/mapxml_libraries.h"
#include "mapxml/mapxml_limits.h"

namespace parquill::mapxml {
namespace {

[[noreturn]] void Refuse(const std::string& what) {
  throw MapXmlError(0, "ZIP として読めません（" + what + "）");
}

}  // namespace

ZipArchive ZipArchive::OpenFile(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) Refuse(std::strerror(errno));
  if (status.st_size == 0) Refuse("0 バイトのファイルです");
  const ZipLibrary& z = LoadedZip();
  int error = 0;
  zip_t* archive = z.zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (archive == nullptr) {
    zip_error_t reason;
    z.zip_error_init_with_code(&reason, error);
    std::string text = z.zip_error_strerror(&reason);
    z.zip_error_fini(&reason);
    Refuse(text);
  }
  return ZipArchive(archive);
}

ZipArchive::ZipArchive(ZipArchive&& other) noexcept
    : archive_(std::exchange(other.archive_, nullptr)) {}

ZipArchive& ZipArchive::operator=(ZipArchive&& other) noexcept {
  if (this != &other) {
    Close();
    archive_ = std::exchange(other.archive_, nullptr);
  }
  return *this;
}

ZipArchive::~ZipArchive() { Close(); }

void ZipArchive::Close() {
  if (archive_ != nullptr) LoadedZip().zip_discard(archive_);  // read only: nothing to write
  archive_ = nullptr;
}

std::size_t ZipArchive::entryCount() const {
  const zip_int64_t count = LoadedZip().zip_get_num_entries(archive_, 0);
  return count < 0 ? 0 : static_cast<std::size_t>(count);
}

std::string ZipArchive::EntryName(std::size_t index) const {
  const char* name = LoadedZip().zip_get_name(archive_, index, ZIP_FL_ENC_GUESS);
  return name != nullptr ? name : "";
}

std::uint64_t ZipArchive::EntrySize(std::size_t index) const {
  zip_stat_t status;
  if (LoadedZip().zip_stat_index(archive_, index, 0, &status) != 0 ||
      (status.valid & ZIP_STAT_SIZE) == 0) {
    Refuse(LoadedZip().zip_strerror(archive_));
  }
  return status.size;
}

void ZipArchive::CopyEntry(std::size_t index, int fd, std::uint64_t largest) const {
  const std::uint64_t size = EntrySize(index);
  auto tooLarge = [&] {
    Refuse(EntryName(index) + " が大きすぎます（" + std::to_string(size >> 20) + " MB）");
  };
  if (size > largest) tooLarge();
  Entry entry = Open(index);
  std::vector<char> buffer(kReadChunk);
  std::uint64_t done = 0;
  for (;;) {
    const std::size_t read = entry.Read(buffer.data(), buffer.size());
    if (read == 0) break;
    done += read;
    if (done > largest) tooLarge();
    for (std::size_t written = 0; written < read;) {
      const ssize_t n = ::write(fd, buffer.data() + written, read - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        throw MapXmlError(0,
                          std::string("一時ファイルに書けません（") + std::strerror(errno) + "）");
      }
      written += static_cast<std::size_t>(n);
    }
  }
  if (done != size) Refuse(EntryName(index) + " が途中で終わっています");
}

ZipArchive::Entry ZipArchive::Open(std::size_t index) const {
  zip_file_t* file = LoadedZip().zip_fopen_index(archive_, index, 0);
  if (file == nullptr) Refuse(LoadedZip().zip_strerror(archive_));
  return Entry(file);
}

ZipArchive::Entry::Entry(Entry&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}

ZipArchive::Entry::~Entry() {
  if (file_ != nullptr) LoadedZip().zip_fclose(file_);
}

std::size_t ZipArchive::Entry::Read(char* buffer, std::size_t room) {
  const zip_int64_t read = LoadedZip().zip_fread(file_, buffer, room);
  if (read < 0) Refuse(LoadedZip().zip_file_strerror(file_));
  return static_cast<std::size_t>(read);
}

}  // namespace parquill::mapxml
