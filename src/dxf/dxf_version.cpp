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
  verdict.encoding = DxfTextEncoding(code);
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

namespace {

// How many UTF-8 characters of two bytes or more `bytes` holds; -1 when one of
// its non-ASCII bytes is no part of one (a character cut by the end counts
// for nothing).
int Utf8Characters(std::string_view bytes) {
  int characters = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0) return -1;
    if (i + length > bytes.size()) break;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return -1;
    }
    characters += length > 1 ? 1 : 0;
    i += length;
  }
  return characters;
}

}  // namespace

bool WrittenInUtf8AgainstHeader(const std::string& path) {
  constexpr std::size_t kSample = 1 << 20;
  constexpr int kFewCharacters = 3;
  std::ifstream file(path, std::ios::binary);
  std::string sample(kSample, '\0');
  file.read(sample.data(), static_cast<std::streamsize>(kSample));
  sample.resize(static_cast<std::size_t>(file.gcount()));
  // The header's code page: "$DWGCODEPAGE", its group code, then its value.
  const std::size_t declared = sample.find("$DWGCODEPAGE");
  if (declared != std::string::npos) {
    std::string_view rest = std::string_view(sample).substr(declared);
    for (int line = 0; line < 2 && !rest.empty(); ++line)
      rest.remove_prefix(std::min(rest.size(), rest.find('\n') + 1));
    const std::string_view page = TrimBlanks(rest.substr(0, rest.find_first_of("\r\n")));
    if (page != "ANSI_932") return false;
  }
  return Utf8Characters(sample) >= kFewCharacters;
}

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
