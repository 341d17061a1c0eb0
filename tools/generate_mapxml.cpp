// parquill-generate-mapxml: a large 地図XML file made by tiling a real one.
//
//   parquill-generate-mapxml SOURCE.xml (--copies N | --target-mb M) -o OUT.xml
//
// The spatial part (空間属性) and the thematic part (主題属性) of SOURCE are
// written N times, copy k shifted by whole extents of the source on a grid
// ten copies wide, every id and idref given the suffix "_k", every lot number
// (地番) and point name (点番名) the suffix "-k" (copy 0 stays as it was). The
// head and the tail (the map sheets, 図郭) are written once.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

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

int main(int argc, char** argv) {
  std::string source;
  std::string output;
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
    } else {
      source = arg;
    }
  }
  if (source.empty() || output.empty() || (copies <= 0 && targetMb <= 0)) {
    std::cerr << "usage: parquill-generate-mapxml SOURCE.xml (--copies N | --target-mb M) "
                 "-o OUT.xml\n";
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
  if (copies <= 0) {
    const double perCopy = static_cast<double>(spatial.size() + thematic.size());
    const double fixed = static_cast<double>(text.size()) - perCopy;
    copies = std::max(1, static_cast<int>(std::lround((targetMb * 1e6 - fixed) / perCopy)));
  }

  std::ofstream out(output, std::ios::binary);
  out << all.substr(0, spatialStart);
  for (int k = 0; k < copies; ++k) WriteCopy(out, spatial, k, dx, dy);
  out << all.substr(spatialEnd, thematicStart - spatialEnd);
  for (int k = 0; k < copies; ++k) WriteCopy(out, thematic, k, dx, dy);
  out << all.substr(thematicEnd);
  out.close();
  if (!out) {
    std::cerr << "parquill-generate-mapxml: cannot write " << output << '\n';
    return 1;
  }
  return 0;
}
