#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct zip;
struct zip_file;

namespace parquill::mapxml {

// One ZIP file on disk and its entries. Every failure raises a MapXmlError
// (without a line) saying what is wrong with the ZIP.
class ZipArchive {
 public:
  static ZipArchive OpenFile(const std::string& path);

  ZipArchive(ZipArchive&&) noexcept;
  ZipArchive& operator=(ZipArchive&&) noexcept;
  ~ZipArchive();

  std::size_t entryCount() const;
  std::string EntryName(std::size_t index) const;
  std::uint64_t EntrySize(std::size_t index) const;
  // Writes the entry to the file open as `fd`, a part at a time; refused
  // when it is larger than `largest`.
  void CopyEntry(std::size_t index, int fd, std::uint64_t largest) const;

  // An entry read a part at a time.
  class Entry {
   public:
    Entry(Entry&&) noexcept;
    ~Entry();
    // Up to `room` bytes into `buffer`; 0 at the end.
    std::size_t Read(char* buffer, std::size_t room);

   private:
    friend class ZipArchive;
    explicit Entry(zip_file* file) : file_(file) {}
    zip_file* file_;
  };
  Entry Open(std::size_t index) const;

 private:
  explicit ZipArchive(zip* archive) : archive_(archive) {}
  void Close();

  zip* archive_ = nullptr;
};

}  // namespace parquill::mapxml
