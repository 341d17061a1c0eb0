// A batch of 地図XML files converted several at a time: one thread lists
// the inputs in their order, `jobs` threads each convert one file after
// another (every file by itself, as ConvertMapXmlFile does), and the
// caller's thread passes on the outcomes in the order the files were listed.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "mapxml/mapxml_conversion.h"
#include "mapxml/mapxml_inputs.h"

namespace parquill::mapxml {
namespace {

namespace fs = std::filesystem;

// Files listed ahead of the converting threads, per thread: enough that no
// thread waits for the listing, few enough that the temporary files of ZIPs
// inside ZIPs stay few.
constexpr std::size_t kFilesWaitingPerJob = 2;
// How often the caller hears how far the batch is while no file ends.
constexpr auto kProgressInterval = std::chrono::seconds(1);

// Gives the memory freed by a file back to the system. Under AddressSanitizer
// the memory is the sanitizer's: glibc's allocator, never set up, is left
// alone (trimmed from two threads at once, it crashed).
#if defined(__SANITIZE_ADDRESS__)
#define PARQUILL_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PARQUILL_ADDRESS_SANITIZER
#endif
#endif
void GiveBackMemory() {
#ifndef PARQUILL_ADDRESS_SANITIZER
  ::malloc_trim(0);
#endif
}

// A SIMA file name taken by a file of this run: whether that file's
// conversion has ended, and whether it wrote the file.
struct Claim {
  bool ended = false;
  bool written = false;
};

// A file waiting to be converted.
struct Item {
  std::size_t order = 0;
  std::string where;
  std::string relativePath;
  std::string sima;  // relative to the output folder
  MapXmlSource source;
  std::shared_ptr<Claim> claim;
};

struct Result {
  MapXmlFileOutcome outcome;
  MapXmlTotals counts;
};

Result Failed(const std::string& where, const MapXmlError& error) {
  Result result;
  result.outcome = {true, MapXmlFailureLine(where, error), {}};
  result.counts.files = 1;
  result.counts.failed = 1;
  return result;
}

// Whether the files of the formats named for `sima` all exist and are newer
// than `input`.
bool OutputsNewer(const std::string& sima, unsigned formats, fs::file_time_type input) {
  for (const std::string& path : LotFilePaths(sima, formats)) {
    std::error_code error;
    const fs::file_time_type written = fs::last_write_time(path, error);
    if (error || written <= input) return false;
  }
  return true;
}

// Raised in the listing thread when the batch is given up.
struct Stopped {};

class Batch {
 public:
  explicit Batch(const MapXmlOptions& options)
      : options_(options), jobs_(static_cast<std::size_t>(std::max(1, options.jobs))) {}

  MapXmlTotals Run(const std::vector<std::string>& inputs,
                   const std::function<void(const MapXmlFileOutcome&)>& take,
                   const std::function<void(const MapXmlProgress&)>& progress);

 private:
  void List(const std::vector<std::string>& inputs, bool estimate);
  void Found(const std::string& where, const std::string& relativePath, MapXmlSource source);
  // Passes on a file that needs no converting (with the lock held): it
  // takes the next place in the order.
  void Post(Result result);
  void Work();
  Result Convert(const Item& item, MapXmlSourceReader& reader) const;
  void Stop();
  void StopAndJoin(std::vector<std::thread>& threads);
  bool Interrupted() const {
    return options_.interrupted != nullptr && options_.interrupted->load();
  }

  const MapXmlOptions& options_;
  const std::size_t jobs_;
  std::mutex mutex_;
  std::condition_variable changed_;  // anything below changed
  std::deque<Item> waiting_;
  std::map<std::size_t, Result> ended_;  // not yet passed on
  std::unordered_map<std::string, std::shared_ptr<Claim>> claims_;
  std::size_t listed_ = 0;
  int expected_ = 0;  // the files the inputs seem to hold, counted before listing
  bool listingEnded_ = false;
  bool stopping_ = false;
  std::exception_ptr listingError_;
};

void Batch::Post(Result result) {
  ended_.emplace(listed_++, std::move(result));
  changed_.notify_all();
}

void Batch::List(const std::vector<std::string>& inputs, bool estimate) {
  try {
    if (estimate) {
      int expected = 0;
      for (const std::string& input : inputs) expected += CountMapXmlFiles(input);
      std::lock_guard lock(mutex_);
      expected_ = expected;
    }
    const MapXmlInputLister lister{
        [this](const std::string& where, const std::string& relativePath, MapXmlSource source) {
          Found(where, relativePath, std::move(source));
        },
        [this](const std::string& where, const MapXmlError& error) {
          std::lock_guard lock(mutex_);
          Post(Failed(where, error));
        }};
    for (const std::string& input : inputs) ListMapXmlInput(input, lister);
  } catch (const Stopped&) {
  } catch (...) {
    std::lock_guard lock(mutex_);
    listingError_ = std::current_exception();
  }
  std::lock_guard lock(mutex_);
  listingEnded_ = true;
  changed_.notify_all();
}

void Batch::Found(const std::string& where, const std::string& relativePath, MapXmlSource source) {
  // Each input's files go where it stands below the input, so that no two
  // inputs write one file; a name that would make a hidden file, or a file
  // an earlier input of this run wrote, is refused.
  const fs::path path(relativePath);
  const std::string fileName = path.filename().string();
  std::unique_lock lock(mutex_);
  if (stopping_) throw Stopped();
  if (fileName.empty() || fileName.front() == '.') {
    Post(Failed(where,
                MapXmlError(0, "ファイル名が \".\" で始まるので、出力ファイル名を作れません")));
    return;
  }
  Item item{0,
            where,
            relativePath,
            (path.parent_path() / ProposedOutputFileName(fileName)).generic_string(),
            std::move(source),
            std::make_shared<Claim>()};
  std::shared_ptr<Claim>& claim = claims_[item.sima];
  if (claim) {
    const std::shared_ptr<Claim> earlier = claim;
    changed_.wait(lock, [&] { return earlier->ended || stopping_; });
    if (stopping_) throw Stopped();
    if (earlier->written) {
      Post(Failed(where, MapXmlError(0, "出力 " + item.sima +
                                            " は、この実行で先の入力が書き出しています")));
      return;
    }
  }
  claim = item.claim;
  if (options_.resume) {
    lock.unlock();
    const bool newer = OutputsNewer((fs::path(options_.outputFolder) / item.sima).string(),
                                    options_.formats, item.source.modified);
    lock.lock();
    if (newer) {
      item.claim->ended = item.claim->written = true;
      Result skipped;
      skipped.outcome.line = relativePath + ": 出力 " +
                             LotFilePaths(item.sima, options_.formats).front() +
                             " が新しいので飛ばしました";
      skipped.counts.files = 1;
      skipped.counts.skipped = 1;
      Post(std::move(skipped));
      return;
    }
  }
  const std::size_t room = kFilesWaitingPerJob * jobs_;
  changed_.wait(lock, [&] { return waiting_.size() < room || stopping_; });
  if (stopping_) throw Stopped();
  item.order = listed_++;
  waiting_.push_back(std::move(item));
  changed_.notify_all();
}

void Batch::Work() {
  MapXmlSourceReader reader;
  for (;;) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !waiting_.empty() || listingEnded_ || stopping_; });
    if (stopping_ || waiting_.empty()) return;
    const Item item = std::move(waiting_.front());
    waiting_.pop_front();
    changed_.notify_all();
    lock.unlock();

    Result result = Convert(item, reader);
    // Each thread's memory goes back to the system between files, so that
    // the batch's footprint is that of the files being converted.
    GiveBackMemory();

    lock.lock();
    item.claim->ended = true;
    item.claim->written = !result.outcome.failed;
    ended_.emplace(item.order, std::move(result));
    changed_.notify_all();
  }
}

Result Batch::Convert(const Item& item, MapXmlSourceReader& reader) const {
  Result result;
  try {
    reader.Read(item.source, [&](const ByteSource& bytes) {
      result.outcome =
          ConvertMapXmlFile(item.relativePath, item.sima, bytes, options_, result.counts);
    });
  } catch (const MapXmlError& error) {
    return Failed(item.where, error);
  } catch (const RuntimeError& error) {
    return Failed(item.where, MapXmlError(0, error.description()));
  } catch (const std::bad_alloc&) {
    return Failed(item.where, MapXmlError(0, "メモリが足りません"));
  } catch (const std::exception& error) {
    return Failed(item.where,
                  MapXmlError(0, std::string("変換できません（") + error.what() + "）"));
  }
  return result;
}

void Batch::Stop() {
  std::lock_guard lock(mutex_);
  stopping_ = true;
  changed_.notify_all();
}

// Converting threads end with the file each is converting.
void Batch::StopAndJoin(std::vector<std::thread>& threads) {
  Stop();
  for (std::thread& thread : threads) {
    if (thread.joinable()) thread.join();
  }
}

MapXmlTotals Batch::Run(const std::vector<std::string>& inputs,
                        const std::function<void(const MapXmlFileOutcome&)>& take,
                        const std::function<void(const MapXmlProgress&)>& progress) {
  std::vector<std::thread> threads;
  // However the caller's part ends, the threads are told to stop and joined.
  struct Joiner {
    Batch& batch;
    std::vector<std::thread>& threads;
    ~Joiner() { batch.StopAndJoin(threads); }
  } joiner{*this, threads};
  threads.emplace_back([&] { List(inputs, static_cast<bool>(progress)); });
  for (std::size_t j = 0; j < jobs_; ++j) threads.emplace_back([this] { Work(); });

  MapXmlTotals totals;
  std::size_t next = 0;
  std::unique_lock lock(mutex_);
  for (;;) {
    const bool changed = changed_.wait_for(lock, kProgressInterval, [&] {
      return ended_.contains(next) || (listingEnded_ && next == listed_);
    });
    if (changed && !ended_.contains(next)) break;  // every file passed on
    if (Interrupted()) {
      totals.interrupted = true;
      break;
    }
    if (changed) {
      const Result result = std::move(ended_.at(next));
      ended_.erase(next++);
      lock.unlock();
      totals.Add(result.counts);
      take(result.outcome);
      lock.lock();
    }
    if (progress) {
      const MapXmlProgress now{
          totals.files,
          static_cast<int>(listingEnded_ ? listed_ : std::max<std::size_t>(listed_, expected_)),
          totals.lots};
      lock.unlock();
      progress(now);
      lock.lock();
    }
  }
  const std::exception_ptr error = listingError_;
  lock.unlock();
  if (totals.interrupted) {
    // Every file that ended is passed on, though a file before it did not.
    StopAndJoin(threads);
    for (const auto& [order, result] : ended_) {
      totals.Add(result.counts);
      take(result.outcome);
    }
    return totals;
  }
  if (error) std::rethrow_exception(error);
  return totals;
}

}  // namespace

MapXmlTotals ConvertMapXml(const std::vector<std::string>& inputs, const MapXmlOptions& options,
                           const std::function<void(const MapXmlFileOutcome&)>& take,
                           const std::function<void(const MapXmlProgress&)>& progress) {
  Batch batch(options);
  return batch.Run(inputs, take, progress);
}

}  // namespace parquill::mapxml
