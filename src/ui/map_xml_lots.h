#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "convert/conversion_report.h"
#include "ui/site_lots.h"

namespace parquill::ui {

// How much of the 地図XML files the map keeps, so that a huge ZIP cannot
// take all the memory: the lots beyond are counted, not kept.
struct MapXmlMapLimits {
  std::size_t lots = 200'000;
  std::size_t points = 2'000'000;
};

// The lots of a 地図XML file, or of every 地図XML file in a ZIP, for the map:
// each lot (those outside the district left out, as the conversion does) as
// a region numbered in file order, its lot number, and its first exterior
// ring in map coordinates (x east, y north); and each file's lots as the
// writers take them, for the site tools.
struct MapXmlLots {
  ConversionReport lots;
  SiteLots site;                      // one file for each file read, a place for each region
  std::string coordinateSystem;       // of the first file read: "公共座標2系"
  std::vector<std::string> failures;  // one line for each file that could not be read
  int files = 0;                      // 地図XML files read, failures included
  int leftOut = 0;                    // lots outside the district, not shown
  std::size_t lotsLeftOut = 0;        // beyond the limits
  bool cancelled = false;
};

// Reads the lots of `path` (a .xml or .zip file). Never throws; `cancel` is
// looked at between files.
MapXmlLots ReadMapXmlLots(const std::string& path, const std::atomic<bool>& cancel,
                          const MapXmlMapLimits& limits = {});

// True for a file the window opens as 地図XML: *.xml or *.zip, any case.
bool IsMapXmlFileName(const std::string& fileName);

}  // namespace parquill::ui
