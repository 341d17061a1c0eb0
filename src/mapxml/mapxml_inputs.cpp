#include "mapxml/mapxml_inputs.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "mapxml/mapxml_limits.h"

namespace parquill::mapxml {
namespace {

namespace fs = std::filesystem;

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), name.end() - ending.size(), [](char a, char b) {
    return a == std::tolower(static_cast<unsigned char>(b));
  });
}

bool IsXmlName(std::string_view name) { return EndsWithNoCase(name, ".xml"); }
bool IsZipName(std::string_view name) { return EndsWithNoCase(name, ".zip"); }

// The folder part of a relative path, with its "/" ("a/b/" of "a/b/x.xml").
std::string FolderOf(const std::string& relativePath) {
  const std::size_t slash = relativePath.find_last_of('/');
  return slash == std::string::npos ? std::string() : relativePath.substr(0, slash + 1);
}

// A ZIP entry's name as a relative path: "/" and "\\" both separate, empty
// and "." parts are dropped; a ".." is refused, so that nothing written for
// the entry can leave the output folder.
std::string EntryPath(const std::string& name) {
  std::string path;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    const std::string_view part = std::string_view(name).substr(start, end - start);
    if (part == "..") throw MapXmlError(0, "名前に .. があるので書き出せません");
    if (!part.empty() && part != ".") {
      if (!path.empty()) path.push_back('/');
      path.append(part);
    }
    start = end + 1;
  }
  return path;
}

// A ZIP taken out of another, in a file of its own that has no name in any
// folder: it is read through /proc/self/fd, and its space is freed when the
// last source that holds it is gone (or the run ends, however it ends).
class TemporaryZip {
 public:
  TemporaryZip() {
    std::string pattern = (fs::temp_directory_path() / "parquill-XXXXXX").string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
      throw MapXmlError(0, std::string("一時ファイルを作れません（") + std::strerror(errno) + "）");
    }
    ::unlink(pattern.c_str());
  }
  TemporaryZip(const TemporaryZip&) = delete;
  TemporaryZip& operator=(const TemporaryZip&) = delete;
  ~TemporaryZip() { ::close(fd_); }

  int fd() const { return fd_; }
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_ = -1;
};

// `folder`: the relative folder the ZIP's entries are placed in; `held`: the
// temporary file the ZIP is in, when it is one.
void ListZip(const ZipArchive& zip, const std::string& zipPath,
             const std::shared_ptr<const void>& held, fs::file_time_type modified,
             const std::string& where, const std::string& folder, int level,
             const MapXmlInputLister& lister) {
  bool found = false;
  for (std::size_t i = 0; i < zip.entryCount(); ++i) {
    const std::string name = zip.EntryName(i);
    const std::string inside = where + " の " + name;
    if (IsXmlName(name)) {
      found = true;
      std::string relativePath;
      try {
        relativePath = folder + EntryPath(name);
      } catch (const MapXmlError& error) {
        lister.failure(inside, error);
        continue;
      }
      lister.file(inside, relativePath,
                  MapXmlSource{zipPath, static_cast<std::int64_t>(i), held, modified});
    } else if (IsZipName(name)) {
      found = true;
      try {
        if (level == kDeepestZipNesting) throw MapXmlError(0, "ZIP の入れ子が深すぎます");
        const std::string nestedFolder = folder + FolderOf(EntryPath(name));
        auto temporary = std::make_shared<TemporaryZip>();
        zip.CopyEntry(i, temporary->fd(), kLargestNestedZip);
        const ZipArchive nested = ZipArchive::OpenFile(temporary->path());
        ListZip(nested, temporary->path(), temporary, modified, inside, nestedFolder, level + 1,
                lister);
      } catch (const MapXmlError& error) {
        lister.failure(inside, error);
      }
    }
  }
  if (!found) lister.failure(where, MapXmlError(0, "地図XML（.xml）も ZIP も入っていません"));
}

void ListFile(const std::string& path, const std::string& relativePath,
              const MapXmlInputLister& lister) {
  std::error_code error;
  const fs::file_time_type modified = fs::last_write_time(path, error);
  if (!IsZipName(path)) {
    lister.file(path, relativePath, MapXmlSource{path, -1, nullptr, modified});
    return;
  }
  try {
    const ZipArchive zip = ZipArchive::OpenFile(path);
    ListZip(zip, path, nullptr, modified, path, FolderOf(relativePath), 1, lister);
  } catch (const MapXmlError& error) {
    lister.failure(path, error);
  }
}

// The .xml and .zip files of a folder and its subfolders, each with its path
// relative to the folder, in the order of their paths.
std::vector<std::pair<std::string, std::string>> FolderFiles(const std::string& folder,
                                                             std::error_code& error) {
  std::vector<std::pair<std::string, std::string>> paths;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string path = it->path().string();
    if (it->is_regular_file(error) && (IsXmlName(path) || IsZipName(path))) {
      paths.emplace_back(path, it->path().lexically_relative(folder).generic_string());
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

int CountInFile(const std::string& path) {
  if (!IsZipName(path)) return 1;
  int count = 0;
  try {
    const ZipArchive zip = ZipArchive::OpenFile(path);
    for (std::size_t i = 0; i < zip.entryCount(); ++i) {
      const std::string name = zip.EntryName(i);
      count += IsXmlName(name) || IsZipName(name) ? 1 : 0;
    }
  } catch (const MapXmlError&) {
    return 1;  // its one line
  }
  return std::max(count, 1);
}

}  // namespace

int CountMapXmlFiles(const std::string& input) {
  std::error_code error;
  if (!fs::is_directory(input, error)) return CountInFile(input);
  int count = 0;
  for (const auto& [path, relativePath] : FolderFiles(input, error)) count += CountInFile(path);
  return count;
}

void ListMapXmlInput(const std::string& input, const MapXmlInputLister& lister) {
  std::error_code error;
  if (fs::is_directory(input, error)) {
    const auto paths = FolderFiles(input, error);
    if (error)
      lister.failure(input, MapXmlError(0, "フォルダを読めません（" + error.message() + "）"));
    for (const auto& [path, relativePath] : paths) ListFile(path, relativePath, lister);
    return;
  }
  if (!fs::exists(input, error)) {
    lister.failure(input, MapXmlError(0, "ファイルがありません"));
    return;
  }
  ListFile(input, fs::path(input).filename().string(), lister);
}

void MapXmlSourceReader::Read(const MapXmlSource& source,
                              const std::function<void(const ByteSource&)>& read) {
  if (source.entry < 0) {
    const int fd = ::open(source.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw MapXmlError(0, std::string("開けません（") + std::strerror(errno) + "）");
    const ByteSource bytes = [fd](char* buffer, std::size_t room) -> std::size_t {
      for (;;) {
        const ssize_t n = ::read(fd, buffer, room);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) {
          throw MapXmlError(0, std::string("読めません（") + std::strerror(errno) + "）");
        }
      }
    };
    try {
      read(bytes);
    } catch (...) {
      ::close(fd);
      throw;
    }
    ::close(fd);
    return;
  }
  if (!zip_ || zipPath_ != source.path || zipHeld_ != source.held) {
    zip_.reset();
    zip_.emplace(ZipArchive::OpenFile(source.path));
    zipPath_ = source.path;
    zipHeld_ = source.held;
  }
  ZipArchive::Entry entry = zip_->Open(static_cast<std::size_t>(source.entry));
  read([&entry](char* buffer, std::size_t room) { return entry.Read(buffer, room); });
}

void VisitMapXmlInput(const std::string& input, const MapXmlInputVisitor& visitor) {
  MapXmlSourceReader reader;
  ListMapXmlInput(
      input, {[&](const std::string& where, const std::string& relativePath, MapXmlSource source) {
                bool opened = false;
                try {
                  reader.Read(source, [&](const ByteSource& bytes) {
                    opened = true;
                    visitor.file(where, relativePath, bytes);
                  });
                } catch (const MapXmlError& error) {
                  if (opened) throw;
                  visitor.failure(where, error);
                }
              },
              visitor.failure});
}

}  // namespace parquill::mapxml
