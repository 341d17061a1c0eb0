#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "mapxml/mapxml_error.h"
#include "mapxml/mapxml_reader.h"
#include "mapxml/zip_archive.h"

namespace parquill::mapxml {

// Where the bytes of one 地図XML file are: a file of its own, or an entry of
// a ZIP on disk: a ZIP given or found in a folder, or a ZIP that was inside
// another and was written out to a temporary file (removed once no source
// holds it).
struct MapXmlSource {
  std::string path;                  // the XML file, or the ZIP that holds it
  std::int64_t entry = -1;           // its index in that ZIP; -1 for a file of its own
  std::shared_ptr<const void> held;  // the temporary file `path` names, when it is one
  // When the file on disk it came from (the file itself, or the ZIP given or
  // found in a folder) was last changed.
  std::filesystem::file_time_type modified{};
};

// What the search of the inputs finds, one call at a time.
struct MapXmlInputLister {
  // A 地図XML file: where it is (its path, or the ZIP's path and the entry),
  // its path relative to the input ("a/b/x.xml": the folders below a folder
  // given, then the folders of its ZIP entries; "/" between them, never
  // "..", never from the root), and where its bytes are.
  std::function<void(const std::string& where, const std::string& relativePath,
                     MapXmlSource source)>
      file;
  // A file or ZIP that cannot be read, with why.
  std::function<void(const std::string& where, const MapXmlError& error)> failure;
};

// Lists the 地図XML files of one input: an XML file; a ZIP, whose .xml
// entries are listed, and whose .zip entries are written to a temporary file
// each (kLargestNestedZip at most) and searched alike, a few levels down; or
// a folder, whose .xml and .zip files (any case) are searched, its
// subfolders too, in the order of their paths. Nothing is read whole into
// memory: a ZIP's entries are listed from its central directory.
void ListMapXmlInput(const std::string& input, const MapXmlInputLister& lister);

// About how many 地図XML files ListMapXmlInput will find in `input`, found
// without taking any ZIP out of another: a ZIP inside a ZIP counts as one
// file (as the registry's area ZIPs hold one each).
int CountMapXmlFiles(const std::string& input);

// Reads the sources listed, one after another, each a part at a time. The
// last ZIP read stays open for the next source from it.
class MapXmlSourceReader {
 public:
  // Calls `read` with the source's bytes; a ZIP that cannot be opened
  // raises a MapXmlError.
  void Read(const MapXmlSource& source, const std::function<void(const ByteSource&)>& read);

 private:
  std::string zipPath_;
  std::shared_ptr<const void> zipHeld_;  // keeps a temporary ZIP's name its own while open
  std::optional<ZipArchive> zip_;
};

// What VisitMapXmlInput finds: each 地図XML file with its bytes, read right away.
struct MapXmlInputVisitor {
  std::function<void(const std::string& where, const std::string& relativePath,
                     const ByteSource& source)>
      file;
  std::function<void(const std::string& where, const MapXmlError& error)> failure;
};

// Lists the files of one input and reads each as it is found.
void VisitMapXmlInput(const std::string& input, const MapXmlInputVisitor& visitor);

}  // namespace parquill::mapxml
