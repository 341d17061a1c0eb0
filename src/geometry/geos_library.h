#pragma once

#include <geos_c.h>

namespace parquill {

// The GEOS functions the faces of boundary lines are made with.
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
  X(GEOSGeom_destroy_r)                   \
  X(GEOSGeom_getCoordSeq_r)               \
  X(GEOSGetExteriorRing_r)                \
  X(GEOSGetGeometryN_r)                   \
  X(GEOSGetNumGeometries_r)               \
  X(GEOSGetNumInteriorRings_r)            \
  X(GEOSLineMerge_r)                      \
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

}  // namespace parquill
