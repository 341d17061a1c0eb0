#pragma once

#include <cstddef>
#include <random>
#include <string>

// Random number texts for the tests that compare a quick reading with the
// plain one.
namespace parquill::testing {

// An optional sign ("-" or "+", each one time in four), then up to
// `mostDigits` digits with a point anywhere among them, or none.
inline std::string RandomNumberText(std::mt19937_64& random, std::size_t mostDigits) {
  std::string text;
  switch (random() % 4) {
    case 0:
      text = "-";
      break;
    case 1:
      text = "+";
      break;
    default:
      break;
  }
  const std::size_t count = random() % (mostDigits + 1);
  const std::size_t point = random() % (count + 2);  // count + 1: no point
  for (std::size_t k = 0; k < count; ++k) {
    if (k == point) text += '.';
    text += static_cast<char>('0' + random() % 10);
  }
  if (point == count) text += '.';
  return text;
}

}  // namespace parquill::testing
