#include "geometry/geos_library.h"

#include <dlfcn.h>

#include <string>

#include "base/runtime_error.h"

namespace parquill {
namespace {

constexpr const char* kGeosLibraryName = "libgeos_c.so.1";  // Debian's libgeos-c1v5

[[noreturn]] void CannotLoad() {
  const char* reason = ::dlerror();
  throw RuntimeError(kFileNotFound, std::string("GEOS ライブラリ ") + kGeosLibraryName +
                                        " を読み込めません（Debian の libgeos-c1v5）: " +
                                        (reason != nullptr ? reason : ""));
}

GeosLibrary Load() {
  void* library = ::dlopen(kGeosLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) CannotLoad();
  GeosLibrary geos;
#define PARQUILL_GEOS_LOAD(name)                                              \
  geos.name = reinterpret_cast<decltype(geos.name)>(::dlsym(library, #name)); \
  if (geos.name == nullptr) CannotLoad();
  PARQUILL_GEOS_FUNCTIONS(PARQUILL_GEOS_LOAD)
#undef PARQUILL_GEOS_LOAD
  return geos;  // the library stays loaded for the rest of the run
}

}  // namespace

const GeosLibrary& LoadedGeos() {
  static const GeosLibrary geos = Load();
  return geos;
}

}  // namespace parquill
