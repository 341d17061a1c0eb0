#include "mapxml/mapxml_libraries.h"

#include <dlfcn.h>

#include <string>

#include "base/runtime_error.h"

namespace parquill::mapxml {
namespace {

[[noreturn]] void CannotLoad(const char* library, const char* package) {
  const char* reason = ::dlerror();
  throw RuntimeError(kFileNotFound, std::string("ライブラリ ") + library +
                                        " を読み込めません（Debian の " + package +
                                        "）: " + (reason != nullptr ? reason : ""));
}

void* Open(const char* library, const char* package) {
  void* opened = ::dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (opened == nullptr) CannotLoad(library, package);
  return opened;  // stays loaded for the rest of the run
}

#define PARQUILL_LIBRARY_LOAD(name)                                               \
  loaded.name = reinterpret_cast<decltype(loaded.name)>(::dlsym(library, #name)); \
  if (loaded.name == nullptr) CannotLoad(kName, kPackage);

XmlLibrary LoadXml() {
  constexpr const char* kName = "libxml2.so.2";
  constexpr const char* kPackage = "libxml2";
  void* library = Open(kName, kPackage);
  XmlLibrary loaded;
  PARQUILL_XML_FUNCTIONS(PARQUILL_LIBRARY_LOAD)
  // Once, before any parser: the files of a batch are read on several threads.
  loaded.xmlInitParser();
  return loaded;
}

ZipLibrary LoadZip() {
  constexpr const char* kName = "libzip.so.4";
  constexpr const char* kPackage = "libzip4";
  void* library = Open(kName, kPackage);
  ZipLibrary loaded;
  PARQUILL_ZIP_FUNCTIONS(PARQUILL_LIBRARY_LOAD)
  return loaded;
}

#undef PARQUILL_LIBRARY_LOAD

}  // namespace

const XmlLibrary& LoadedXml() {
  static const XmlLibrary xml = LoadXml();
  return xml;
}

const ZipLibrary& LoadedZip() {
  static const ZipLibrary zip = LoadZip();
  return zip;
}

}  // namespace parquill::mapxml
