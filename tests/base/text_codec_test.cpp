#include "base/text_codec.h"

#include <gtest/gtest.h>

#include <thread>

namespace parquill {
namespace {

TEST(TextCodec, DecodesCp932AsWindowsDoes) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"abc", "abc"},
      {"\x92\x6e\x94\xd4", "地番"},
      {"\x88\xea\x92\x9a\x96\xda\x35\x2d\x36", "一丁目5-6"},
      {"\x95\x5c", "表"},  // second byte 0x5C, the backslash
      {"\x83\x5c\x83\x74\x83\x67", "ソフト"},
      {"\x81\x60", "～"},  // FULLWIDTH TILDE, as Windows maps it
      {"\x81\x5f", "＼"},
      {"\x81\x7c", "－"},
      {"\xb1\xb2", "ｱｲ"},  // half-width katakana
      {"\x87\x40", "①"},   // NEC special characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeText(c.bytes, TextEncoding::kCp932), c.text) << c.text;
    EXPECT_EQ(EncodeText(c.text, TextEncoding::kCp932), c.bytes) << c.text;
  }
}

TEST(TextCodec, InvalidBytesComeBackUnchanged) {
  const std::string samples[] = {
      "\x81",          // lead byte at the end
      "\x81\x20z",     // lead byte with an invalid trail byte
      "\xff\xfe\xfd",  // never valid
      "a\x80"
      "b\xa0",
      std::string("\x92\x6e\0\x94", 4),
      "\xed\x40\xfa\x40",  // one character with two codes: each kept as written
  };
  for (const auto& bytes : samples) {
    for (auto encoding : {TextEncoding::kCp932, TextEncoding::kUtf8}) {
      EXPECT_EQ(EncodeText(DecodeText(bytes, encoding), encoding), bytes);
    }
  }
}

TEST(TextCodec, Utf8DrawingsDecodeToTheSameText) {
  EXPECT_EQ(DecodeText("一丁目5-6", TextEncoding::kUtf8), "一丁目5-6");
  // And the same text goes to a Shift-JIS file as Shift-JIS.
  EXPECT_EQ(EncodeText(DecodeText("地番", TextEncoding::kUtf8), TextEncoding::kCp932),
            "\x92\x6e\x94\xd4");
  // Broken UTF-8 and encoded surrogates are kept byte for byte.
  for (std::string bytes : {"\xe5\x9c", "\xed\xa0\x80", "\xc0\xaf", "a\xf0\x9f\x98"}) {
    EXPECT_EQ(EncodeText(DecodeText(bytes, TextEncoding::kUtf8), TextEncoding::kUtf8), bytes);
  }
}

TEST(TextCodec, CharactersOutsideCp932BecomeAQuestionMark) {
  EXPECT_EQ(EncodeText("a😀b", TextEncoding::kCp932), "a?b");
}

// Characters converted once are remembered per thread; the answers must not
// depend on what was converted before (every two-byte code, in two orders,
// in a thread of its own and again after).
TEST(TextCodec, RememberedCharactersConvertAsTheFirstTime) {
  std::string every;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      every.push_back(static_cast<char>(lead));
      every.push_back(static_cast<char>(trail));
    }
  }
  std::string backwards;
  for (std::size_t i = every.size(); i >= 2; i -= 2) backwards.append(every, i - 2, 2);

  std::string first;
  std::thread([&] { first = DecodeText(every, TextEncoding::kCp932); }).join();
  std::string reversedFirst;
  std::thread([&] { reversedFirst = DecodeText(backwards, TextEncoding::kCp932); }).join();
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(DecodeText(every, TextEncoding::kCp932), first);
    EXPECT_EQ(DecodeText(backwards, TextEncoding::kCp932), reversedFirst);
    EXPECT_EQ(EncodeText(first, TextEncoding::kCp932), every);
    EXPECT_EQ(EncodeText(reversedFirst, TextEncoding::kCp932), backwards);
  }
}

}  // namespace
}  // namespace parquill
