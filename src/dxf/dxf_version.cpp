#include "dxf/dxf_version.h"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <utility>

#include "base/line_reader.h"
#include "base/runtime_error.h"
#include "base/trim.h"

namespace parquill {

DxfVersionVerdict ClassifyDxfVersion(std::int32_t code) {
  static constexpr std::pair<std::int32_t, const char*> kNames[] = {
      {2, "R2.5"},    {3, "GXIII"},   {9, "R9"},      {10, "R10"},    {12, "R12J"},
      {13, "R13J"},   {14, "R14J"},   {2000, "2000"}, {2004, "2004"}, {2007, "2007"},
      {2010, "2010"}, {2013, "2013"}, {2018, "2018"},
  };
  DxfVersionVerdict verdict;
  verdict.code = code;
  verdict.processable = IsProcessableDxfVersion(code);
  verdict.shownRed = !verdict.processable;
  // A code without a name: a later version reads as 2000 does; an earlier
  // one, or none at all (no DXF file), is unknown.
  verdict.name = verdict.processable ? "2000" : "不明";
  for (const auto& [known, name] : kNames) {
    if (known == code) verdict.name = name;
  }
  return verdict;
}

std::string DxfVersionCaption(const DxfVersionVerdict& verdict) {
  std::string caption = "DXFのバージョンは、" + verdict.name + "です。";
  if (!verdict.processable) caption += "処理不可能です。";
  return caption;
}

Message DxfVersionRefusal(const std::string& versionName) {
  return {"DXFのバージョンは、" + versionName + "です。\r処理不可能です。", "DXFのバージョン"};
}

TextEncoding DxfTextEncoding(std::int32_t code) {
  return code >= 2007 ? TextEncoding::kUtf8 : TextEncoding::kCp932;
}

namespace {

std::int32_t CodeOfVersionString(std::string_view version) {
  static constexpr std::pair<std::string_view, std::int32_t> kVersions[] = {
      {"AC1002", 2},    {"AC1003", 3},    {"AC1004", 9},    {"AC1006", 10},   {"AC1009", 12},
      {"AC1012", 13},   {"AC1014", 14},   {"AC1015", 2000}, {"AC1018", 2004}, {"AC1021", 2007},
      {"AC1024", 2010}, {"AC1027", 2013}, {"AC1032", 2018},
  };
  for (const auto& [name, code] : kVersions) {
    if (version == name) return code;
  }
  return 0;
}

}  // namespace

bool EndsWithoutEof(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : 0;
  std::string tail(static_cast<std::size_t>(std::min<std::streamoff>(size, 64)), '\0');
  file.seekg(size - static_cast<std::streamoff>(tail.size()));
  if (!file || !file.read(tail.data(), static_cast<std::streamsize>(tail.size()))) return false;
  std::string_view end(tail);
  end = end.substr(0, end.find_last_not_of(" \t\r\n\x1a") + 1);  // npos + 1: nothing
  return TrimBlanks(end.substr(end.find_last_of('\n') + 1)) != "EOF";
}

std::int32_t ReadDxfVersionCode(const std::string& path) {
  try {
    LineReader reader(path);
    std::string_view line;
    while (reader.Next(line)) {
      if (line == "ENTITIES") return 0;
      if (TrimBlanks(line) == "$ACADVER") {
        if (!reader.Next(line) || !reader.Next(line)) return 0;  // group code, then the value
        return CodeOfVersionString(TrimBlanks(line));
      }
    }
  } catch (const RuntimeError&) {
    // Unreadable: no version.
  }
  return 0;
}

}  // namespace parquill
