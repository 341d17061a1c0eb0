#pragma once

#include <QByteArray>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace parquill::ui {

// The MIF file that "面生成" wrote in this window: for which drawing and
// output name, and what the file was once written, so that "属性付加" reads
// only that file, never one left by another run.
class BuiltMif {
 public:
  // Records the MIF file of `output` as just written for `drawing`.
  void Record(const std::string& drawing, const std::string& output);
  void Forget();
  // True when the MIF file recorded was written for this drawing and output name.
  bool For(const std::string& drawing, const std::string& output) const;
  // True when, beyond that, the file is still as it was written: not gone,
  // not written again since.
  bool Unchanged(const std::string& drawing, const std::string& output) const;

 private:
  struct Fingerprint {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    QByteArray digest;  // of the whole file
    friend bool operator==(const Fingerprint&, const Fingerprint&) = default;
  };
  static std::optional<Fingerprint> FingerprintOf(const std::string& mif);

  std::string drawing_;
  std::string output_;
  std::optional<Fingerprint> written_;
};

}  // namespace parquill::ui
