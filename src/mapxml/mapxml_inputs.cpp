#include "mapxml/mapxml_inputs.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "mapxml/mapxml_limits.h"
#include "mapxml/zip_archive.h"

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

void VisitXmlFile(const std::string& path, const std::string& relativePath,
                  const MapXmlInputVisitor& visitor) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    visitor.failure(path,
                    MapXmlError(0, std::string("開けません（") + std::strerror(errno) + "）"));
    return;
  }
  const ByteSource source = [fd](char* buffer, std::size_t room) -> std::size_t {
    for (;;) {
      const ssize_t read = ::read(fd, buffer, room);
      if (read >= 0) return static_cast<std::size_t>(read);
      if (errno != EINTR) {
        throw MapXmlError(0, std::string("読めません（") + std::strerror(errno) + "）");
      }
    }
  };
  try {
    visitor.file(path, relativePath, source);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
}

// `folder`: the relative folder the ZIP's entries are placed in.
void VisitZip(const ZipArchive& zip, const std::string& where, const std::string& folder, int level,
              const MapXmlInputVisitor& visitor) {
  bool found = false;
  for (std::size_t i = 0; i < zip.entryCount(); ++i) {
    const std::string name = zip.EntryName(i);
    const std::string inside = where + " の " + name;
    if (IsXmlName(name)) {
      found = true;
      std::optional<ZipArchive::Entry> entry;
      std::string relativePath;
      try {
        relativePath = folder + EntryPath(name);
        entry.emplace(zip.Open(i));
      } catch (const MapXmlError& error) {
        visitor.failure(inside, error);
        continue;
      }
      visitor.file(inside, relativePath,
                   [&entry](char* buffer, std::size_t room) { return entry->Read(buffer, room); });
    } else if (IsZipName(name)) {
      found = true;
      try {
        if (level == kDeepestZipNesting) throw MapXmlError(0, "ZIP の入れ子が深すぎます");
        const std::string nestedFolder = folder + FolderOf(EntryPath(name));
        const ZipArchive nested = ZipArchive::OpenBytes(zip.ReadWhole(i, kLargestNestedZip));
        VisitZip(nested, inside, nestedFolder, level + 1, visitor);
      } catch (const MapXmlError& error) {
        visitor.failure(inside, error);
      }
    }
  }
  if (!found) visitor.failure(where, MapXmlError(0, "地図XML（.xml）も ZIP も入っていません"));
}

void VisitFile(const std::string& path, const std::string& relativePath,
               const MapXmlInputVisitor& visitor) {
  if (!IsZipName(path)) {
    VisitXmlFile(path, relativePath, visitor);
    return;
  }
  try {
    const ZipArchive zip = ZipArchive::OpenFile(path);
    VisitZip(zip, path, FolderOf(relativePath), 1, visitor);
  } catch (const MapXmlError& error) {
    visitor.failure(path, error);
  }
}

}  // namespace

void VisitMapXmlInput(const std::string& input, const MapXmlInputVisitor& visitor) {
  std::error_code error;
  if (fs::is_directory(input, error)) {
    std::vector<std::pair<std::string, std::string>> paths;  // path, relative to the folder
    for (fs::recursive_directory_iterator it(input, error), end; !error && it != end;
         it.increment(error)) {
      const std::string path = it->path().string();
      if (it->is_regular_file(error) && (IsXmlName(path) || IsZipName(path))) {
        paths.emplace_back(path, it->path().lexically_relative(input).generic_string());
      }
    }
    if (error)
      visitor.failure(input, MapXmlError(0, "フォルダを読めません（" + error.message() + "）"));
    std::sort(paths.begin(), paths.end());
    for (const auto& [path, relativePath] : paths) VisitFile(path, relativePath, visitor);
    return;
  }
  if (!fs::exists(input, error)) {
    visitor.failure(input, MapXmlError(0, "ファイルがありません"));
    return;
  }
  VisitFile(input, fs::path(input).filename().string(), visitor);
}

}  // namespace parquill::mapxml
