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

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void VisitXmlFile(const std::string& path, const MapXmlInputVisitor& visitor) {
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
    visitor.file(path, BaseName(path), source);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
}

void VisitZip(const ZipArchive& zip, const std::string& where, int level,
              const MapXmlInputVisitor& visitor) {
  bool found = false;
  for (std::size_t i = 0; i < zip.entryCount(); ++i) {
    const std::string name = zip.EntryName(i);
    const std::string inside = where + " の " + name;
    if (IsXmlName(name)) {
      found = true;
      std::optional<ZipArchive::Entry> entry;
      try {
        entry.emplace(zip.Open(i));
      } catch (const MapXmlError& error) {
        visitor.failure(inside, error);
        continue;
      }
      visitor.file(inside, BaseName(name),
                   [&entry](char* buffer, std::size_t room) { return entry->Read(buffer, room); });
    } else if (IsZipName(name)) {
      found = true;
      try {
        if (level == kDeepestZipNesting) throw MapXmlError(0, "ZIP の入れ子が深すぎます");
        const ZipArchive nested = ZipArchive::OpenBytes(zip.ReadWhole(i, kLargestNestedZip));
        VisitZip(nested, inside, level + 1, visitor);
      } catch (const MapXmlError& error) {
        visitor.failure(inside, error);
      }
    }
  }
  if (!found) visitor.failure(where, MapXmlError(0, "地図XML（.xml）も ZIP も入っていません"));
}

void VisitFile(const std::string& path, const MapXmlInputVisitor& visitor) {
  if (!IsZipName(path)) {
    VisitXmlFile(path, visitor);
    return;
  }
  try {
    const ZipArchive zip = ZipArchive::OpenFile(path);
    VisitZip(zip, path, 1, visitor);
  } catch (const MapXmlError& error) {
    visitor.failure(path, error);
  }
}

}  // namespace

void VisitMapXmlInput(const std::string& input, const MapXmlInputVisitor& visitor) {
  std::error_code error;
  if (fs::is_directory(input, error)) {
    std::vector<std::string> paths;
    for (fs::recursive_directory_iterator it(input, error), end; !error && it != end;
         it.increment(error)) {
      const std::string path = it->path().string();
      if (it->is_regular_file(error) && (IsXmlName(path) || IsZipName(path))) {
        paths.push_back(path);
      }
    }
    if (error)
      visitor.failure(input, MapXmlError(0, "フォルダを読めません（" + error.message() + "）"));
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) VisitFile(path, visitor);
    return;
  }
  if (!fs::exists(input, error)) {
    visitor.failure(input, MapXmlError(0, "ファイルがありません"));
    return;
  }
  VisitFile(input, visitor);
}

}  // namespace parquill::mapxml
