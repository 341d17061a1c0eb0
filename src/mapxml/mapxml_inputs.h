#pragma once

#include <functional>
#include <string>

#include "mapxml/mapxml_error.h"
#include "mapxml/mapxml_reader.h"

namespace parquill::mapxml {

// What the search of the inputs finds, one call at a time.
struct MapXmlInputVisitor {
  // A 地図XML file: where it is (its path, or the ZIP's path and the entry),
  // its path relative to the input ("a/b/x.xml": the folders below a folder
  // given, then the folders of its ZIP entries; "/" between them, never
  // "..", never from the root), and its bytes.
  std::function<void(const std::string& where, const std::string& relativePath,
                     const ByteSource& source)>
      file;
  // A file or ZIP that cannot be read, with why.
  std::function<void(const std::string& where, const MapXmlError& error)> failure;
};

// Visits the 地図XML files of one input: an XML file; a ZIP, whose .xml
// entries are read as they come out of it and whose .zip entries are read
// into memory (kLargestNestedZip at most) and searched alike, a few levels
// down; or a folder, whose .xml and .zip files (any case) are searched, its
// subfolders too, in the order of their paths.
void VisitMapXmlInput(const std::string& input, const MapXmlInputVisitor& visitor);

}  // namespace parquill::mapxml
