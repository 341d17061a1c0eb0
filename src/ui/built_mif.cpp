#include "ui/built_mif.h"

#include <QCryptographicHash>
#include <QFile>

#include "base/output_file_names.h"

namespace parquill::ui {

void BuiltMif::Record(const std::string& drawing, const std::string& output) {
  drawing_ = drawing;
  output_ = output;
  written_ = FingerprintOf(OutputFileNamesFor(output).mif);
}

void BuiltMif::Forget() {
  drawing_.clear();
  output_.clear();
  written_.reset();
}

bool BuiltMif::For(const std::string& drawing, const std::string& output) const {
  return written_.has_value() && drawing == drawing_ && output == output_;
}

bool BuiltMif::Unchanged(const std::string& drawing, const std::string& output) const {
  if (!For(drawing, output)) return false;
  const std::optional<Fingerprint> now = FingerprintOf(OutputFileNamesFor(output).mif);
  return now.has_value() && *now == *written_;
}

std::optional<BuiltMif::Fingerprint> BuiltMif::FingerprintOf(const std::string& mif) {
  std::error_code error;
  Fingerprint fingerprint;
  fingerprint.size = std::filesystem::file_size(mif, error);
  if (error) return std::nullopt;
  fingerprint.modified = std::filesystem::last_write_time(mif, error);
  if (error) return std::nullopt;
  QFile file(QFile::decodeName(mif.c_str()));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QCryptographicHash hash(QCryptographicHash::Sha1);
  if (!hash.addData(&file)) return std::nullopt;
  fingerprint.digest = hash.result();
  return fingerprint;
}

}  // namespace parquill::ui
