#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace parquill {

// A file that one thread writes while another already reads it. The writer
// says when it has created (or emptied) the file, how far it has written and
// when it is done; the reader then waits at the end of what is written rather
// than taking it for the end of the file.
class GrowingFile {
 public:
  // The writer's side.
  void Opened();
  void Wrote(std::int64_t size);  // the file now holds `size` bytes
  void Finished();                // closed, or given up; later calls change nothing

  // The reader's side. Waits until the writer has opened the file or is done;
  // false when it finished without opening it (there is nothing to read).
  bool WaitUntilOpened();
  // Waits until the file holds more than `size` bytes or the writer is done;
  // false when it is done and the file holds no more than `size` bytes.
  bool WaitForMoreThan(std::int64_t size);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool opened_ = false;
  bool finished_ = false;
  std::int64_t size_ = 0;
};

}  // namespace parquill
