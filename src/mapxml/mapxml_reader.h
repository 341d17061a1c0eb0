#pragma once

#include <cstddef>
#include <functional>

#include "mapxml/mapxml_document.h"

namespace parquill::mapxml {

// Gives the next bytes of a file, up to `room` of them, into `buffer`; 0 at
// its end. May raise a MapXmlError (a broken ZIP).
using ByteSource = std::function<std::size_t(char* buffer, std::size_t room)>;

// Reads one 地図XML file as it comes, a part at a time, into a document.
// A file that is not XML, is cut short, holds control characters, declares
// a DOCTYPE or entities, nests too deep, carries a text beyond the limits
// (mapxml_limits.h), or is XML but no 地図, raises a MapXmlError with the
// line where reading stopped. Nothing is fetched from the network.
MapXmlDocument ReadMapXml(const ByteSource& source);

}  // namespace parquill::mapxml
