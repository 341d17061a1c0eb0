#pragma once

#include <libxml/parser.h>
#include <zip.h>

// The two libraries 地図XML files are read with, loaded when the first file
// is read rather than at every start: linked in, libxml2 (with ICU) and
// libzip (with the cryptography library) added about 1 ms each to every
// start of the command line, which is mostly run for DXF drawings.
namespace parquill::mapxml {

// clang-format off
#define PARQUILL_XML_FUNCTIONS(X) \
  X(xmlInitParser)                \
  X(xmlSetGenericErrorFunc)       \
  X(xmlCreatePushParserCtxt)      \
  X(xmlCtxtUseOptions)            \
  X(xmlParseChunk)                \
  X(xmlStopParser)                \
  X(xmlFreeParserCtxt)            \
  X(xmlCtxtGetLastError)

#define PARQUILL_ZIP_FUNCTIONS(X) \
  X(zip_open)                     \
  X(zip_discard)                  \
  X(zip_get_num_entries)          \
  X(zip_get_name)                 \
  X(zip_stat_index)               \
  X(zip_fopen_index)              \
  X(zip_fread)                    \
  X(zip_fclose)                   \
  X(zip_strerror)                 \
  X(zip_file_strerror)            \
  X(zip_error_init_with_code)     \
  X(zip_error_strerror)           \
  X(zip_error_fini)
// clang-format on

#define PARQUILL_LIBRARY_POINTER(name) decltype(&::name) name = nullptr;
struct XmlLibrary {
  PARQUILL_XML_FUNCTIONS(PARQUILL_LIBRARY_POINTER)
};
struct ZipLibrary {
  PARQUILL_ZIP_FUNCTIONS(PARQUILL_LIBRARY_POINTER)
};
#undef PARQUILL_LIBRARY_POINTER

// Each raises error 53 when its library cannot be loaded.
const XmlLibrary& LoadedXml();
const ZipLibrary& LoadedZip();

}  // namespace parquill::mapxml
