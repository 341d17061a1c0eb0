#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace parquill::testing {

// A fresh folder for one test, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The full path of `name` inside the folder, as a string.
  std::string File(std::string_view name) const;
  // Writes `bytes` to `name` and returns its full path.
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// Reads a whole file as bytes.
std::string ReadBytes(const std::string& path);

// Joins lines with CR LF after each, as the drawings and our files end them.
std::string CrLf(std::initializer_list<std::string_view> lines);

}  // namespace parquill::testing
