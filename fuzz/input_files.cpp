#include "input_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace parquill::fuzz {
namespace {

// The folder of this process, removed when the process ends normally.
class ProcessFolder {
 public:
  ProcessFolder() {
    std::filesystem::path root = std::filesystem::is_directory("/dev/shm")
                                     ? "/dev/shm"
                                     : std::filesystem::temp_directory_path();
    path_ = root / ("parquill-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~ProcessFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

ProcessFolder& Folder() {
  static ProcessFolder folder;
  return folder;
}

int LowestFreeDescriptor() {
  int fd = ::dup(0);
  if (fd >= 0) ::close(fd);
  return fd;
}

}  // namespace

std::string PathOf(std::string_view name) { return (Folder().path() / name).string(); }

std::string WriteInput(std::string_view name, std::string_view bytes) {
  std::string path = PathOf(name);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Check(file != nullptr, "cannot create the input file");
  Check(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(), "cannot write the input");
  Check(std::fclose(file) == 0, "cannot close the input");
  return path;
}

void Remove(std::string_view name) { ::unlink(PathOf(name).c_str()); }

LayerSelection SelectionOf(std::initializer_list<std::string_view> selected) {
  LayerSelection selection;
  selection.items = {"すべて", "0", "筆界", "地番", "道路"};
  selection.selected.assign(selection.items.size(), false);
  for (std::string_view name : selected) {
    for (std::size_t i = 0; i < selection.items.size(); ++i) {
      if (selection.items[i] == name) {
        selection.selected[i] = true;
        selection.listIndex = static_cast<int>(i);
      }
    }
  }
  return selection;
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

void CheckOutcome(const Outcome& outcome, std::string_view trapTitle) {
  switch (outcome.kind) {
    case OutcomeKind::kDone:
      break;
    case OutcomeKind::kRefused:
      Check(!outcome.messages.empty(), "a refusal without its message");
      break;
    case OutcomeKind::kTrapped: {
      static const std::vector<int> kKnown = {5, 6, 7, 9, 53, 57, 61, 62, 70, 75};
      bool known = false;
      for (int number : kKnown) known = known || number == outcome.errorNumber;
      Check(known, "a trap with an unknown error number");
      Check(!outcome.messages.empty() && outcome.messages.back().title == trapTitle,
            "a trap without its message box");
      break;
    }
  }
}

int OpenFilesMark() { return LowestFreeDescriptor(); }

void CheckNoFileLeftOpen(int mark) {
  Check(LowestFreeDescriptor() == mark, "a file was left open");
}

}  // namespace parquill::fuzz
