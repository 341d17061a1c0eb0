#pragma once

#include <cstddef>
#include <exception>
#include <string>

namespace parquill {

// Numbers of the run-time errors a step can trap. They are the numbers the
// surveyors' earlier tools showed, so a number in a message box means the
// same thing to them here.
enum ErrorNumber : int {
  kInvalidCall = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kFileNotFound = 53,
  kDeviceIoError = 57,
  kDiskFull = 61,
  kInputPastEnd = 62,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
};

// The one exception type of the core: raised where a run-time error happens
// (a full fixed table, an overflow, a read past the end of a file) and caught
// once, by the step's trap.
class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(int number);
  RuntimeError(int number, std::string description);

  int number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int number_;
  std::string description_;
};

// The standard Japanese description of an error number.
std::string DescribeErrorNumber(int number);

// The text of a trap's message box: "エラー番号", the number, CR LF, the description.
std::string TrapText(const RuntimeError& error);

// Error 9 for a ring of more than kRingCapacity points: which ring (its
// kind, its layer when it has one, its first point) and how many vertices it
// has as CAD counts them; `closing` when the point that closes it came on top.
RuntimeError RingTooLong(const std::string& ring, const std::string& layer, double x, double y,
                         std::size_t points, bool closing = false);

// Raises the error for a failed open/read/write of `path`, from errno.
[[noreturn]] void ThrowFileError(int errnoValue, const std::string& path);

}  // namespace parquill
