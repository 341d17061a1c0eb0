#include "geometry/geos_library.h"

#include <dlfcn.h>

#include <string>
#include <utility>

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

GeosContext::GeosContext(std::string work) : handle_(Api().GEOS_init_r()), work_(std::move(work)) {
  if (handle_ == nullptr) throw RuntimeError(kOutOfMemory);
  Api().GEOSContext_setErrorMessageHandler_r(
      handle_, [](const char* message, void* kept) { *static_cast<std::string*>(kept) = message; },
      &message_);
}

void GeosContext::Fail() const {
  throw RuntimeError(kInvalidCall, work_ + "に失敗しました (GEOS: " +
                                       (message_.empty() ? std::string("理由不明") : message_) +
                                       ")");
}

}  // namespace parquill
