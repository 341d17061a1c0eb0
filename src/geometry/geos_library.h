#pragma once

#include <geos_c.h>

#include <string>

namespace parquill {

// The GEOS functions the faces of boundary lines and the places of the lot
// numbers are made with.
// clang-format off
#define PARQUILL_GEOS_FUNCTIONS(X)        \
  X(GEOS_init_r)                          \
  X(GEOS_finish_r)                        \
  X(GEOSContext_setErrorMessageHandler_r) \
  X(GEOSCoordSeq_copyFromBuffer_r)        \
  X(GEOSCoordSeq_copyToBuffer_r)          \
  X(GEOSCoordSeq_getSize_r)               \
  X(GEOSGeomTypeId_r)                     \
  X(GEOSGeom_clone_r)                     \
  X(GEOSGeom_createCollection_r)          \
  X(GEOSGeom_createLineString_r)          \
  X(GEOSGeom_createLinearRing_r)          \
  X(GEOSGeom_createPolygon_r)             \
  X(GEOSGeom_destroy_r)                   \
  X(GEOSGeom_getCoordSeq_r)               \
  X(GEOSGetExteriorRing_r)                \
  X(GEOSGetGeometryN_r)                   \
  X(GEOSGetNumGeometries_r)               \
  X(GEOSGetNumInteriorRings_r)            \
  X(GEOSLineMerge_r)                      \
  X(GEOSMaximumInscribedCircle_r)         \
  X(GEOSPolygonize_full_r)                \
  X(GEOSUnaryUnionPrec_r)
// clang-format on

struct GeosLibrary {
#define PARQUILL_GEOS_POINTER(name) decltype(&::name) name = nullptr;
  PARQUILL_GEOS_FUNCTIONS(PARQUILL_GEOS_POINTER)
#undef PARQUILL_GEOS_POINTER
};

// GEOS's C library, loaded when lots are first made from lines rather than
// at every start: linked in, its C++ library and relocations made the command
// line start three times slower (5.6 ms against 1.7 ms). Raises error 53 when
// it cannot be loaded.
const GeosLibrary& LoadedGeos();
inline const GeosLibrary& Api() { return LoadedGeos(); }

// One GEOS context for one piece of work, its messages kept for the error
// raised: "<work>に失敗しました (GEOS: <message>)".
class GeosContext {
 public:
  explicit GeosContext(std::string work);
  ~GeosContext() { Api().GEOS_finish_r(handle_); }
  GeosContext(const GeosContext&) = delete;
  GeosContext& operator=(const GeosContext&) = delete;

  GEOSContextHandle_t handle() const { return handle_; }

  // The result of a GEOS call, or the error it reported.
  template <typename T>
  T* Check(T* result) const {
    if (result == nullptr) Fail();
    return result;
  }
  int Check(int result) const {
    if (result < 0) Fail();
    return result;
  }
  [[noreturn]] void Fail() const;

 private:
  GEOSContextHandle_t handle_;
  std::string work_;
  std::string message_;
};

// A geometry owned here, destroyed with the scope.
class Owned {
 public:
  Owned(const GeosContext& geos, GEOSGeometry* geometry) : geos_(geos), geometry_(geometry) {}
  ~Owned() {
    if (geometry_ != nullptr) Api().GEOSGeom_destroy_r(geos_.handle(), geometry_);
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  GEOSGeometry* get() const { return geometry_; }

 private:
  const GeosContext& geos_;
  GEOSGeometry* geometry_;
};

}  // namespace parquill
