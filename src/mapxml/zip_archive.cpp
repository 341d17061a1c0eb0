#include "mapxml/zip_archive.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "mapxml/mapxml_error.h"
#include "mapxml/mapxml_libraries.h"

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
  return ZipArchive(archive, nullptr);
}

ZipArchive ZipArchive::OpenBytes(std::vector<char> bytes) {
  if (bytes.empty()) Refuse("0 バイトの ZIP です");
  const ZipLibrary& z = LoadedZip();
  auto kept = std::make_unique<std::vector<char>>(std::move(bytes));
  zip_error_t reason;
  z.zip_error_init(&reason);
  zip_source_t* source = z.zip_source_buffer_create(kept->data(), kept->size(), 0, &reason);
  zip_t* archive = nullptr;
  if (source != nullptr) {
    archive = z.zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &reason);
    if (archive == nullptr) z.zip_source_free(source);
  }
  if (archive == nullptr) {
    std::string text = z.zip_error_strerror(&reason);
    z.zip_error_fini(&reason);
    Refuse(text);
  }
  z.zip_error_fini(&reason);
  return ZipArchive(archive, std::move(kept));
}

ZipArchive::ZipArchive(zip* archive, std::unique_ptr<std::vector<char>> bytes)
    : archive_(archive), bytes_(std::move(bytes)) {}

ZipArchive::ZipArchive(ZipArchive&& other) noexcept
    : archive_(std::exchange(other.archive_, nullptr)), bytes_(std::move(other.bytes_)) {}

ZipArchive& ZipArchive::operator=(ZipArchive&& other) noexcept {
  if (this != &other) {
    Close();
    archive_ = std::exchange(other.archive_, nullptr);
    bytes_ = std::move(other.bytes_);
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

std::vector<char> ZipArchive::ReadWhole(std::size_t index, std::uint64_t largest) const {
  const std::uint64_t size = EntrySize(index);
  if (size > largest) {
    Refuse(EntryName(index) + " が大きすぎます（" + std::to_string(size >> 20) + " MB）");
  }
  std::vector<char> bytes(static_cast<std::size_t>(size));
  Entry entry = Open(index);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t read = entry.Read(bytes.data() + done, bytes.size() - done);
    if (read == 0) Refuse(EntryName(index) + " が途中で終わっています");
    done += read;
  }
  return bytes;
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
