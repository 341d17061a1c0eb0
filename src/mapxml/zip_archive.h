#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct zip;
struct zip_file;

namespace parquill::mapxml {

// One ZIP file, on disk or in memory, and its entries. Every failure raises
// a MapXmlError (without a line) saying what is wrong with the ZIP.
class ZipArchive {
 public:
  static ZipArchive OpenFile(const std::string& path);
  // A ZIP read out of another ZIP; the archive keeps the bytes.
  static ZipArchive OpenBytes(std::vector<char> bytes);

  ZipArchive(ZipArchive&&) noexcept;
  ZipArchive& operator=(ZipArchive&&) noexcept;
  ~ZipArchive();

  std::size_t entryCount() const;
  std::string EntryName(std::size_t index) const;
  std::uint64_t EntrySize(std::size_t index) const;
  // The whole entry, refused when it is larger than `largest`.
  std::vector<char> ReadWhole(std::size_t index, std::uint64_t largest) const;

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
  ZipArchive(zip* archive, std::unique_ptr<std::vector<char>> bytes);
  void Close();

  zip* archive_ = nullptr;
  std::unique_ptr<std::vector<char>> bytes_;  // what an archive in memory reads
};

}  // namespace parquill::mapxml
