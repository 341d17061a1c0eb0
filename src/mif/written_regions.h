#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace parquill {

// The regions of a MIF file as the region builder writes them, kept for the
// readings of the file that follow in the same run (the lot numbers'
// attachment and the SIMA conversion's first reading), so that neither reads
// the file again: the file's header lines, and per region where its header
// line lies and the points of its ring as a reading of the file gets them
// from the written text. The builder adds the regions on one thread while a
// reading takes them on another. When a point is written in a form whose
// reading is not worked out here, or the regions outgrow the room kept, the
// builder gives them up and the readings read the file.
class WrittenRegions {
 public:
  static constexpr std::size_t kMostPoints = std::size_t{1} << 18;
  static constexpr std::size_t kMostRegions = std::size_t{1} << 16;

  struct Region {
    std::int64_t offset = 0;       // of the header line, in bytes
    std::int64_t linesBefore = 0;  // lines of the file before the header line
    std::int32_t count = 0;        // points of the ring, from its count line
    const double* x = nullptr;     // the ring's points, as a reading gets them
    const double* y = nullptr;
  };

  WrittenRegions();
  WrittenRegions(const WrittenRegions&) = delete;
  WrittenRegions& operator=(const WrittenRegions&) = delete;

  // The builder's side, on one thread.
  void SetHeaderLines(std::vector<std::string> lines) { headerLines_ = std::move(lines); }
  // Room for the `count` points of the next region's ring; false when there
  // is none (the regions are then given up).
  bool Room(std::int32_t count, double*& x, double*& y);
  // Adds the next region, its points written into the room just given.
  void Add(std::int64_t offset, std::int64_t linesBefore, std::int32_t count);
  void GiveUp();
  // Every region is added (or the build ended early); later calls change nothing.
  void Finished();

  // The readings' side. The header lines may be read once WaitFor has
  // returned: they are set before the first region is added.
  const std::vector<std::string>& headerLines() const { return headerLines_; }
  // The region at `index` (from 0), waiting while the builder may still add
  // it; false when the builder finished or gave up without it.
  bool WaitFor(std::size_t index, Region& region) const;
  // Once WaitFor has said false: true when the regions were not given up, so
  // that they are every region of the file.
  bool complete() const;

 private:
  struct Entry {
    std::int64_t offset;
    std::int64_t linesBefore;
    std::int32_t count;
    std::size_t first;  // of its points
  };
  void Publish();

  std::vector<std::string> headerLines_;
  // Room for the most points and regions, taken at once and filled as they
  // come (untouched, it costs no memory), so nothing moves while it is read.
  std::unique_ptr<double[]> x_;
  std::unique_ptr<double[]> y_;
  std::unique_ptr<Entry[]> entries_;
  std::size_t points_ = 0;
  std::size_t regions_ = 0;  // added; the first published_ of them can be read
  bool gaveUp_ = false;      // the builder's own copy

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::atomic<std::size_t> published_{0};
  mutable std::atomic<bool> waiting_{false};  // a reading waits for more regions
  bool finished_ = false;
  bool givenUp_ = false;
};

}  // namespace parquill
