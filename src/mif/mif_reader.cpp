#include "mif/mif_reader.h"

#include "base/limits.h"
#include "base/number_text.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "geometry/decimal_rounding.h"

namespace parquill {
namespace {

constexpr std::int32_t kDecimals = 5;

// True when the line's first characters, in upper case, are `upperKeyword`.
bool StartsWithKeyword(std::string_view line, std::string_view upperKeyword) {
  if (line.size() < upperKeyword.size()) return false;
  for (std::size_t i = 0; i < upperKeyword.size(); ++i) {
    char c = line[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upperKeyword[i]) return false;
  }
  return true;
}

// The text between the line's first two double quotes (a double quote is
// never part of a two-byte character in CP932).
std::string DelimiterFromLine(std::string_view line) {
  const std::size_t open = line.find('"');
  if (open == std::string_view::npos) throw RuntimeError(kInvalidCall);
  const std::size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) throw RuntimeError(kInvalidCall);
  return DecodeText(line.substr(open + 1, close - open - 1), TextEncoding::kCp932);
}

}  // namespace

MifRules MifRules::Attachment() {
  MifRules rules;
  rules.regionAnywhere = true;
  rules.count16Bits = true;
  rules.ringCapacity = kRingCapacity;
  return rules;
}

MifRules MifRules::Conversion(bool swap) {
  MifRules rules;
  rules.readsDelimiter = true;
  rules.roundsToFiveDecimals = true;
  rules.swap = swap;
  return rules;
}

MifReader::MifReader(const std::string& path, const MifRules& rules)
    : lines_(path), rules_(rules) {}

bool MifReader::IsRegionHeader(std::string_view line) {
  if (rules_.readsDelimiter && StartsWithKeyword(line, "DELIMITER")) {
    delimiter_ = DelimiterFromLine(line);
    return false;
  }
  if (rules_.regionAnywhere) return line.find("REGION") != std::string_view::npos;
  return StartsWithKeyword(line, "REGION");
}

bool MifReader::NextRegion() {
  std::string_view line;
  do {
    if (!lines_.Next(line)) return false;
  } while (!IsRegionHeader(line));
  const double count = NumberFromText(lines_.Require());
  if (rules_.count16Bits) {
    count_ = ToInt16(count);
  } else {
    count_ = ToInt32(count);
    if (count_ < 0) throw RuntimeError(kSubscriptOutOfRange);
  }
  pointsRead_ = 0;
  return true;
}

void MifReader::NextPoint(double& x, double& y) {
  const std::string_view line = lines_.Require();
  ++pointsRead_;
  if (rules_.ringCapacity > 0 && pointsRead_ > rules_.ringCapacity) {
    throw RuntimeError(kSubscriptOutOfRange);
  }
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) throw RuntimeError(kSubscriptOutOfRange);
  const std::string_view rest = line.substr(blank + 1);
  x = NumberFromText(line.substr(0, blank));
  y = NumberFromText(rest.substr(0, rest.find(' ')));
  if (rules_.roundsToFiveDecimals) {
    x = RoundDecimals(x, kDecimals);
    y = RoundDecimals(y, kDecimals);
  }
  if (rules_.swap) std::swap(x, y);
}

bool MifReader::NextRing(MifRing& ring) {
  if (!NextRegion()) return false;
  ring.count = count_;
  ring.x.clear();
  ring.y.clear();
  for (std::int32_t j = 0; j < count_; ++j) {
    double x = 0;
    double y = 0;
    NextPoint(x, y);
    ring.x.push_back(x);
    ring.y.push_back(y);
  }
  return true;
}

}  // namespace parquill
