#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace parquill::mapxml {

// Why a 地図XML file or its ZIP cannot be read: the message in Japanese and
// the XML line it concerns (0 when no line does, as for a broken ZIP).
class MapXmlError : public std::exception {
 public:
  MapXmlError(std::uint64_t line, std::string message)
      : line_(line), message_(std::move(message)) {}

  std::uint64_t line() const { return line_; }
  const std::string& message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::uint64_t line_;
  std::string message_;
};

}  // namespace parquill::mapxml
