#include "base/runtime_error.h"

#include <cerrno>
#include <cstdio>

#include "base/limits.h"

namespace parquill {

RuntimeError::RuntimeError(int number) : RuntimeError(number, DescribeErrorNumber(number)) {}

RuntimeError::RuntimeError(int number, std::string description)
    : number_(number), description_(std::move(description)) {}

std::string DescribeErrorNumber(int number) {
  switch (number) {
    case kInvalidCall:
      return "プロシージャの呼び出し、または引数が不正です。";
    case kOverflow:
      return "オーバーフローしました。";
    case kOutOfMemory:
      return "メモリが不足しています。";
    case kSubscriptOutOfRange:
      return "インデックスが有効範囲にありません。";
    case kFileNotFound:
      return "ファイルが見つかりません。";
    case kDeviceIoError:
      return "デバイス I/O エラーです。";
    case kDiskFull:
      return "ディスクの空き容量が不足しています。";
    case kInputPastEnd:
      return "ファイルにこれ以上データがありません。";
    case kPermissionDenied:
      return "書き込みできません。";
    case kPathFileAccessError:
      return "パス名が無効です。";
    default:
      return "アプリケーション定義またはオブジェクト定義のエラーです。";
  }
}

std::string TrapText(const RuntimeError& error) {
  return "エラー番号" + std::to_string(error.number()) + "\r\n" + error.description();
}

RuntimeError RingTooLong(const std::string& ring, const std::string& layer, double x, double y,
                         std::size_t points, bool closing) {
  char at[160];
  if (closing) {
    std::snprintf(at, sizeof at, "始点 X %.3f, Y %.3f、%zu 点、閉じる点を加えて %zu 点）", x, y,
                  points, points + 1);
  } else {
    std::snprintf(at, sizeof at, "始点 X %.3f, Y %.3f、%zu 点）", x, y, points);
  }
  return RuntimeError(kSubscriptOutOfRange,
                      DescribeErrorNumber(kSubscriptOutOfRange) + ring + "の頂点が " +
                          std::to_string(kRingCapacity) + " を超えました（" +
                          (layer.empty() ? "" : "レイヤ " + layer + "、") + at);
}

void ThrowFileError(int errnoValue, const std::string& path) {
  int number = kPathFileAccessError;
  std::string reason;
  switch (errnoValue) {
    case ENOENT:
      number = kFileNotFound;
      break;
    case EACCES:
    case EPERM:
    case EROFS:
      number = kPermissionDenied;
      reason = "アクセスが拒否されました。";
      break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      number = kDiskFull;
      break;
    case EIO:
      number = kDeviceIoError;
      break;
    case EISDIR:
      reason = "フォルダが指定されています。";
      break;
    default:
      break;
  }
  std::string description = DescribeErrorNumber(number);
  if (!reason.empty() && number != kPathFileAccessError) description = reason;
  if (!reason.empty() && number == kPathFileAccessError) description += reason;
  throw RuntimeError(number, description + " (" + path + ")");
}

}  // namespace parquill
