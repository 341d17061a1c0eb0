// parquill-generate-mapxml: a large 地図XML file made by tiling a real one,
// or a prefecture's folder of them.
//
//   parquill-generate-mapxml SOURCE.xml (--copies N | --target-mb M) -o OUT.xml
//   parquill-generate-mapxml SOURCE.xml --prefecture DIR [--files N] [--lots M]
//                            [--most-lots L] [--towns T]
//
// A prefecture: N files (default 2,000) in T municipality folders (default
// 40, DIR/47201 …), each file tiled from SOURCE with between one copy and
// L lots (default 15,000), most of them small, M lots in all (default
// 1,900,000; a file's lots are its copies times the lots of SOURCE). The
// sizes are spread deterministically, the same at every run.
//
// The spatial part (空間属性) and the thematic part (主題属性) of SOURCE are
// written N times, copy k shifted by whole extents of the source on a grid
// ten copies wide, every id and idref given the suffix "_k", every lot number
// (地番) and point name (点番名) the suffix "-k" (copy 0 stays as it was). The
// head and the tail (the map sheets, 図郭) are written once.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Extent {
  double minX = HUGE_VAL, maxX = -HUGE_VAL, minY = HUGE_VAL, maxY = -HUGE_VAL;
};

constexpr int kCopiesPerRow = 10;

std::size_t Find(std::string_view text, std::string_view what, std::size_t from = 0) {
  const std::size_t at = text.find(what, from);
  if (at == std::string_view::npos) {
    std::cerr << "parquill-generate-mapxml: the source has no " << what << '\n';
    std::exit(2);
  }
  return at;
}

// The value of every <zmn:X> (or Y) in `text`, each passed to `take`.
template <typename Take>
void EachCoordinate(std::string_view text, std::string_view tag, Take take) {
  const std::string open = "<zmn:" + std::string(tag) + ">";
  for (std::size_t at = text.find(open); at != std::string_view::npos;
       at = text.find(open, at + 1)) {
    const std::size_t start = at + open.size();
    const std::size_t end = text.find('<', start);
    double value = 0;
    std::from_chars(text.data() + start, text.data() + end, value);
    take(start, end, value);
  }
}

// `text` with the copy's changes: ids and idrefs, coordinates, lot numbers
// and point names.
void WriteCopy(std::ostream& out, std::string_view text, int copy, double dx, double dy) {
  if (copy == 0) {
    out << text;
    return;
  }
  const std::string suffix = "_" + std::to_string(copy);
  const std::string number = "-" + std::to_string(copy);
  std::size_t done = 0;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t next = text.find_first_of("\"<", at);
    if (next == std::string_view::npos) break;
    if (text[next] == '"') {
      // The end of an attribute value: id="…" and idref="…" get the suffix.
      const bool isId = next >= 3 && (text.substr(next - 3, 3) == "id=" ||
                                      (next >= 6 && text.substr(next - 6, 6) == "idref="));
      const std::size_t close = text.find('"', next + 1);
      if (isId && close != std::string_view::npos) {
        out << text.substr(done, close - done) << suffix;
        done = close;
      }
      at = close == std::string_view::npos ? text.size() : close + 1;
      continue;
    }
    const std::string_view rest = text.substr(next);
    const bool isX = rest.starts_with("<zmn:X>");
    const bool isY = rest.starts_with("<zmn:Y>");
    const bool isLot = rest.starts_with("<地番>");
    const bool isName = rest.starts_with("<点番名>");
    if (isX || isY || isLot || isName) {
      const std::size_t start = next + rest.find('>') + 1;
      const std::size_t end = text.find('<', start);
      out << text.substr(done, start - done);
      const std::string_view value = text.substr(start, end - start);
      if (isX || isY) {
        double v = 0;
        std::from_chars(value.data(), value.data() + value.size(), v);
        const double shift = isX ? dx * (copy / kCopiesPerRow) : dy * (copy % kCopiesPerRow);
        char shifted[64];
        std::snprintf(shifted, sizeof shifted, "%.3f", v + shift);
        out << shifted;
      } else {
        out << value << number;
      }
      done = end;
      at = end;
      continue;
    }
    at = next + 1;
  }
  out << text.substr(done);
}

}  // namespace

// Writes the tiled file of `copies` copies.
bool WriteTiled(const std::string& output, std::string_view all, std::size_t spatialStart,
                std::size_t spatialEnd, std::size_t thematicStart, std::size_t thematicEnd,
                int copies, double dx, double dy) {
  const std::string_view spatial = all.substr(spatialStart, spatialEnd - spatialStart);
  const std::string_view thematic = all.substr(thematicStart, thematicEnd - thematicStart);
  std::ofstream out(output, std::ios::binary);
  out << all.substr(0, spatialStart);
  for (int k = 0; k < copies; ++k) WriteCopy(out, spatial, k, dx, dy);
  out << all.substr(spatialEnd, thematicStart - spatialEnd);
  for (int k = 0; k < copies; ++k) WriteCopy(out, thematic, k, dx, dy);
  out << all.substr(thematicEnd);
  out.close();
  if (!out) std::cerr << "parquill-generate-mapxml: cannot write " << output << '\n';
  return static_cast<bool>(out);
}

// The copies of each of `files` files: copies = most^(u^k) for u spread
// evenly over [0, 1) in a shuffled order, k chosen so that the lots add up
// to about `lots` (most files small, a few near `most`).
std::vector<int> PrefectureCopies(int files, double lots, double most, int lotsPerCopy) {
  std::vector<double> spread(static_cast<std::size_t>(files));
  std::uint64_t state = 0x9E3779B97F4A7C15ULL;
  for (int i = 0; i < files; ++i) spread[static_cast<std::size_t>(i)] = (i + 0.5) / files;
  for (int i = files - 1; i > 0; --i) {  // Fisher–Yates with a fixed LCG
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    std::swap(spread[static_cast<std::size_t>(i)], spread[(state >> 33) % (i + 1)]);
  }
  const double mostCopies = std::max(1.0, most / lotsPerCopy);
  auto copiesFor = [&](double k) {
    std::vector<int> copies;
    for (double u : spread) {
      copies.push_back(
          std::max(1, static_cast<int>(std::lround(std::pow(mostCopies, std::pow(u, k))))));
    }
    return copies;
  };
  auto total = [&](const std::vector<int>& copies) {
    double sum = 0;
    for (int c : copies) sum += static_cast<double>(c) * lotsPerCopy;
    return sum;
  };
  double low = 0.2, high = 50;  // a larger k, fewer lots
  for (int step = 0; step < 60; ++step) {
    const double k = std::sqrt(low * high);
    (total(copiesFor(k)) > lots ? low : high) = k;
  }
  return copiesFor(high);
}

int main(int argc, char** argv) {
  std::string source;
  std::string output;
  std::string prefecture;
  int files = 2000;
  int towns = 40;
  double lots = 1.9e6;
  double mostLots = 15000;
  int copies = 0;
  double targetMb = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--copies" && i + 1 < argc) {
      copies = std::atoi(argv[++i]);
    } else if (arg == "--target-mb" && i + 1 < argc) {
      targetMb = std::atof(argv[++i]);
    } else if (arg == "-o" && i + 1 < argc) {
      output = argv[++i];
    } else if (arg == "--prefecture" && i + 1 < argc) {
      prefecture = argv[++i];
    } else if (arg == "--files" && i + 1 < argc) {
      files = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--towns" && i + 1 < argc) {
      towns = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--lots" && i + 1 < argc) {
      lots = std::atof(argv[++i]);
    } else if (arg == "--most-lots" && i + 1 < argc) {
      mostLots = std::atof(argv[++i]);
    } else {
      source = arg;
    }
  }
  if (source.empty() ||
      (prefecture.empty() && (output.empty() || (copies <= 0 && targetMb <= 0)))) {
    std::cerr << "usage: parquill-generate-mapxml SOURCE.xml (--copies N | --target-mb M) "
                 "-o OUT.xml\n"
                 "       parquill-generate-mapxml SOURCE.xml --prefecture DIR [--files N] "
                 "[--lots M] [--most-lots L] [--towns T]\n";
    return 2;
  }
  std::ifstream in(source, std::ios::binary);
  std::stringstream whole;
  whole << in.rdbuf();
  const std::string text = whole.str();
  const std::string_view all = text;

  const std::size_t spatialStart = Find(all, "<空間属性>") + std::string_view("<空間属性>").size();
  const std::size_t spatialEnd = Find(all, "</空間属性>", spatialStart);
  const std::size_t thematicStart =
      Find(all, "<主題属性>", spatialEnd) + std::string_view("<主題属性>").size();
  const std::size_t thematicEnd = Find(all, "</主題属性>", thematicStart);
  const std::string_view spatial = all.substr(spatialStart, spatialEnd - spatialStart);
  const std::string_view thematic = all.substr(thematicStart, thematicEnd - thematicStart);

  Extent extent;
  EachCoordinate(spatial, "X", [&](std::size_t, std::size_t, double v) {
    extent.minX = std::min(extent.minX, v);
    extent.maxX = std::max(extent.maxX, v);
  });
  EachCoordinate(spatial, "Y", [&](std::size_t, std::size_t, double v) {
    extent.minY = std::min(extent.minY, v);
    extent.maxY = std::max(extent.maxY, v);
  });
  const double dx = std::ceil(extent.maxX - extent.minX + 10);
  const double dy = std::ceil(extent.maxY - extent.minY + 10);
  if (!prefecture.empty()) {
    int lotsPerCopy = 0;
    for (std::size_t at = thematic.find("<筆 "); at != std::string_view::npos;
         at = thematic.find("<筆 ", at + 1)) {
      ++lotsPerCopy;
    }
    const std::vector<int> perFile =
        PrefectureCopies(files, lots, mostLots, std::max(1, lotsPerCopy));
    long long written = 0;
    for (int f = 0; f < files; ++f) {
      const std::string town = std::to_string(47201 + f % towns);
      const std::filesystem::path folder = std::filesystem::path(prefecture) / town;
      std::filesystem::create_directories(folder);
      char name[64];
      std::snprintf(name, sizeof name, "%s-%04d-%d.xml", town.c_str(), 3000 + f / towns, f);
      if (!WriteTiled((folder / name).string(), all, spatialStart, spatialEnd, thematicStart,
                      thematicEnd, perFile[static_cast<std::size_t>(f)], dx, dy)) {
        return 1;
      }
      written += static_cast<long long>(perFile[static_cast<std::size_t>(f)]) * lotsPerCopy;
    }
    std::cout << files << " files, " << written << " lots\n";
    return 0;
  }
  if (copies <= 0) {
    const double perCopy = static_cast<double>(spatial.size() + thematic.size());
    const double fixed = static_cast<double>(text.size()) - perCopy;
    copies = std::max(1, static_cast<int>(std::lround((targetMb * 1e6 - fixed) / perCopy)));
  }
  return WriteTiled(output, all, spatialStart, spatialEnd, thematicStart, thematicEnd, copies, dx,
                    dy)
             ? 0
             : 1;
}
