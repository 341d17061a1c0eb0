#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dxf/group_code.h"
#include "support/temp_folder.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "base/runtime_error.h"

namespace parquill {
namespace {

using testing::TempFolder;

constexpr int kRingCapacity = 1000;

std::uint64_t Bits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// One polyline's vertex list as read, up to its "  0" code line: the values
// (as bits, so that -0.0 differs from 0) and the line number after it.
struct VertexList {
  std::vector<std::uint64_t> x;
  std::vector<std::uint64_t> y;
  std::int64_t lineAfter = 0;
  bool operator==(const VertexList&) const = default;
};

struct VertexReading {
  std::vector<VertexList> lists;
  int error = 0;
  std::string description;
  bool operator==(const VertexReading&) const = default;
};

enum class Way { kLineByLine, kInRuns };

// Reads the whole file as vertex lists, one after the other, each ended by a
// code line that reads as 0, until the end of the file (error 62) or another
// error, as the region builder reads a polyline's vertices: a 10 starts a
// vertex (Y 0 until a 20 gives it), other codes are passed, the 1001st
// vertex raises error 9. Either line by line with Require(), or with runs of
// TakeUsualVertices (of random lengths up to the room left) before each
// group pair read with RequireUsualGroupPair.
VertexReading ReadVertexLists(const std::string& path, Way way, std::uint32_t seed = 1) {
  VertexReading reading;
  std::mt19937 random(seed);
  try {
    LineReader reader(path);
    for (;;) {
      std::array<double, kRingCapacity + 1> x{};
      std::array<double, kRingCapacity + 1> y{};
      int count = 0;
      for (;;) {
        std::string_view value;
        double code = 0;
        if (way == Way::kLineByLine) {
          code = GroupCodeValue(reader.Require());
          if (code == 0) break;
          value = reader.Require();
        } else {
          const int room = kRingCapacity - count;
          const int run = random() % 4 == 0 ? static_cast<int>(random() % (room + 1)) : room;
          const std::int64_t before = reader.lineNumber();
          const std::int32_t taken =
              reader.TakeUsualVertices(run, x.data() + count + 1, y.data() + count + 1);
          EXPECT_LE(taken, run);
          EXPECT_EQ(reader.lineNumber(), before + 4 * taken);
          count += taken;
          code = reader.RequireUsualGroupPair(value);
          if (code == 0) {
            code = GroupCodeValue(value);
            if (code == 0) break;
            value = reader.Require();
          }
        }
        if (code == 10) {
          if (++count > kRingCapacity) throw RuntimeError(kSubscriptOutOfRange);
          x[count] = NumberFromText(value);
          y[count] = 0;
        } else if (code == 20) {
          y[count] = NumberFromText(value);
        }
      }
      VertexList list;
      for (int k = 1; k <= count; ++k) {
        list.x.push_back(Bits(x[k]));
        list.y.push_back(Bits(y[k]));
      }
      list.lineAfter = reader.lineNumber();
      reading.lists.push_back(list);
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
    reading.description = error.what();
  }
  return reading;
}

void ExpectSameReadings(const std::string& path, int error = kInputPastEnd) {
  const VertexReading lineByLine = ReadVertexLists(path, Way::kLineByLine);
  EXPECT_EQ(lineByLine.error, error);
  for (std::uint32_t seed : {1u, 2u}) {
    EXPECT_EQ(ReadVertexLists(path, Way::kInRuns, seed), lineByLine) << "seed " << seed;
  }
}

// A value line of the usual shape (a DXF writer's coordinates), or near it.
std::string RandomValue(std::mt19937& random) {
  const char* odd[] = {"",     "-",    ".",   "-0",    "-0.00000", "+5",  ".5",  "5.",
                       " 1.5", "1.5 ", "1e3", "1.2.3", "abc",      "--1", "1,5", "\t2"};
  if (random() % 12 == 0) return odd[random() % std::size(odd)];
  std::string text = random() % 2 ? "-" : "";
  const int whole = static_cast<int>(random() % (random() % 6 == 0 ? 12 : 6));
  for (int i = 0; i < whole; ++i) text.push_back(static_cast<char>('0' + random() % 10));
  if (random() % 8 != 0) {
    text += '.';
    const int decimals = static_cast<int>(random() % 8);
    for (int i = 0; i < decimals; ++i) text.push_back(static_cast<char>('0' + random() % 10));
  }
  return text;
}

struct LineEnds {
  int kind = 0;  // CR LF only, CR only, LF only, mixed
  std::string Next(std::mt19937& random) const {
    const char* ends[] = {"\r\n", "\r", "\n"};
    return kind < 3 ? ends[kind] : ends[random() % 3];
  }
};

// Vertex lists of a drawing's shape and near it: usual vertices mostly, and
// other codes (70, 42, 91, a 10 without its 20, a 20 alone, code lines of
// other shapes), each list ended by "  0"; `overfull` lets lists of more
// than 1000 vertices in.
std::string RandomVertexLists(std::mt19937& random, std::size_t size, LineEnds ends,
                              bool overfull) {
  std::string bytes;
  auto line = [&](const std::string& text) { bytes += text + ends.Next(random); };
  while (bytes.size() < size) {
    const int vertices = overfull && random() % 10 == 0 ? 995 + static_cast<int>(random() % 10)
                                                        : static_cast<int>(random() % 30);
    line(" 90");
    line(std::to_string(vertices));
    line(" 70");
    line(random() % 2 ? "1" : "0");
    for (int v = 0; v < vertices; ++v) {
      switch (random() % 24) {
        case 0:  // a 10 without its 20
          line(" 10");
          line(RandomValue(random));
          break;
        case 1:
          line(" 20");
          line(RandomValue(random));
          break;
        case 2:
          line(random() % 2 ? " 42" : " 91");
          line(RandomValue(random));
          break;
        case 3: {
          const char* codes[] = {"10", " 10 ", "20", " 20 ", "010", " 1a", "1e2", " 40"};
          line(codes[random() % std::size(codes)]);
          line(RandomValue(random));
          break;
        }
        default:
          line(" 10");
          line(RandomValue(random));
          line(" 20");
          line(RandomValue(random));
          break;
      }
    }
    line(random() % 8 == 0 ? "0" : "  0");
  }
  return bytes;
}

// The same vertices, line numbers and errors as line by line reading,
// whatever the line ends, across the buffer's 64 KiB reads, with lists of
// more than 1000 vertices (error 9), at the end of the file.
TEST(VertexReading, SameAsLineByLineReading) {
  std::mt19937 random(29);
  TempFolder folder;
  for (int file = 0; file < 32; ++file) {
    const LineEnds ends{file % 4};
    const std::size_t size = file % 4 == 0 ? 300'000 + random() % 100'000 : random() % 4000;
    std::string bytes = RandomVertexLists(random, size, ends, file % 4 == 3);
    if (random() % 2 == 0) bytes.resize(bytes.size() - random() % 60);  // ended anywhere
    SCOPED_TRACE(::testing::Message() << "file " << file);
    const std::string path = folder.Write("vertices.dxf", bytes);
    const VertexReading lineByLine = ReadVertexLists(path, Way::kLineByLine);
    EXPECT_EQ(ReadVertexLists(path, Way::kInRuns, 1), lineByLine);
    EXPECT_EQ(ReadVertexLists(path, Way::kInRuns, 2), lineByLine);
  }
}

// The usual vertex at every place against the end of the first 64 KiB read,
// with every line end: cut in its code lines, its values, between a CR and
// its LF.
TEST(VertexReading, VerticesCutByTheBuffersRead) {
  constexpr std::size_t kRead = std::size_t{1} << 16;
  TempFolder folder;
  for (std::string_view end : {"\r\n", "\r", "\n"}) {
    for (std::size_t shift = 0; shift < 48; ++shift) {
      // A filler pair puts the first vertex `shift` bytes before the read's end.
      std::string bytes = " 99";
      bytes += end;
      bytes += std::string(kRead - shift - bytes.size() - 2 * end.size(), '7');
      bytes += end;
      while (bytes.size() < kRead + 200) {
        for (const char* text : {" 10", "-28425.25", " 20", "15730.5"}) {
          bytes += text;
          bytes += end;
        }
      }
      bytes += "  0";
      bytes += end;
      SCOPED_TRACE(::testing::Message() << "shift " << shift << ", end " << end.size());
      ExpectSameReadings(folder.Write("cut.dxf", bytes));
    }
  }
}

// A file that ends at any place of its last vertex: the vertices before it
// read, then error 62 (or the vertex read as far as it goes).
TEST(VertexReading, FilesEndingInsideAVertex) {
  TempFolder folder;
  for (std::string_view end : {"\r\n", "\r", "\n"}) {
    std::string bytes;
    for (int v = 0; v < 3; ++v) {
      for (const char* text : {" 10", "-28425.25", " 20", "15730.5"}) {
        bytes += text;
        bytes += end;
      }
    }
    const std::size_t lastVertex = bytes.size() - bytes.size() / 3;
    for (std::size_t size = lastVertex; size <= bytes.size(); ++size) {
      for (std::string_view after : {"", "  0"}) {
        SCOPED_TRACE(::testing::Message() << "size " << size << " " << after);
        const std::string text = bytes.substr(0, size) + std::string(after);
        ExpectSameReadings(folder.Write("end.dxf", text));
      }
    }
  }
}

// The 1001st vertex raises error 9, however the vertices before it were read;
// a thousand fit.
TEST(VertexReading, ThousandVerticesAtMost) {
  TempFolder folder;
  auto vertices = [](int count) {
    std::string bytes;
    for (int v = 0; v < count; ++v) bytes += " 10\r\n-28425.25\r\n 20\r\n15730.5\r\n";
    return bytes + "  0\r\n";
  };
  ExpectSameReadings(folder.Write("full.dxf", vertices(1000)));
  ExpectSameReadings(folder.Write("over.dxf", vertices(1001)), kSubscriptOutOfRange);
  ExpectSameReadings(folder.Write("over.dxf", vertices(999) + vertices(1001)),
                     kSubscriptOutOfRange);
}

// An over-long value line raises error 7 with its line number, as line by
// line reading does.
TEST(VertexReading, TheLongestLine) {
  TempFolder folder;
  std::string bytes;
  for (int v = 0; v < 20; ++v) bytes += " 10\r\n-28425.25\r\n 20\r\n15730.5\r\n";
  bytes += " 10\r\n" + std::string(LineReader::kLongestLine + 1, '5') + "\r\n 20\r\n1\r\n  0\r\n";
  ExpectSameReadings(folder.Write("long.dxf", bytes), kOutOfMemory);
  EXPECT_NE(ReadVertexLists(folder.File("long.dxf"), Way::kInRuns).description.find("行 82"),
            std::string::npos);
}

// The usual vertices are taken, four lines each, up to the first pair of
// another shape, which stays for the group pair reading. Before the first
// read of the file nothing is taken.
TEST(VertexReading, UsualVerticesTakenUpToAnotherPair) {
  TempFolder folder;
  LineReader reader(folder.Write("three.dxf",
                                 "AcDbPolyline\r\n"
                                 " 10\r\n-28425.25\r\n 20\r\n15730.5\r\n"
                                 " 10\n1\n 20\n-0.5\n"
                                 " 10\r2.5\r 42\r1\r  0\r\n"));
  std::array<double, 4> x{};
  std::array<double, 4> y{};
  EXPECT_EQ(reader.TakeUsualVertices(4, x.data(), y.data()), 0);
  EXPECT_EQ(reader.Require(), "AcDbPolyline");
  const std::int32_t taken = reader.TakeUsualVertices(4, x.data(), y.data());
#if defined(__SSE2__)
  ASSERT_EQ(taken, 2);
  EXPECT_EQ(x[0], -28425.25);
  EXPECT_EQ(y[0], 15730.5);
  EXPECT_EQ(x[1], 1);
  EXPECT_EQ(y[1], -0.5);
  EXPECT_EQ(reader.lineNumber(), 9);
#else
  ASSERT_EQ(taken, 0);
  for (int i = 0; i < 8; ++i) reader.Require();
#endif
  EXPECT_EQ(reader.TakeUsualVertices(4, x.data(), y.data()), 0);
  std::string_view value;
  EXPECT_EQ(reader.RequireUsualGroupPair(value), 10);
  EXPECT_EQ(value, "2.5");
  EXPECT_EQ(reader.lineNumber(), 11);
}

}  // namespace
}  // namespace parquill
