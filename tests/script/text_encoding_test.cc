// Turning UTF-16 script files into UTF-8, and what a byte order mark does.
#include "script/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using text_encoding::byte_order_mark;

// UTF-16 LE bytes for the code units given.
std::string le(std::initializer_list<unsigned> units) {
  std::string bytes;
  for (unsigned unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string swapped(std::string bytes) {
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
  return bytes;
}

struct result {
  bool ok;
  std::string text;
  size_t bad_at = 0;
  std::string reason;
};

result decode(const std::string& units, bool big_endian = false) {
  text_encoding::decoded out;
  result r;
  r.ok = text_encoding::utf16_to_utf8(units, big_endian, &out, &r.bad_at, &r.reason);
  if (r.ok) r.text.assign(out.data.get(), out.size);
  return r;
}

TEST(Utf16ToUtf8, EveryLengthOfUtf8) {
  // "a", "é" (2 bytes), "€" (3 bytes), U+1F600 from a surrogate pair (4 bytes).
  const std::string units = le({'a', 0xE9, 0x20AC, 0xD83D, 0xDE00, '\r', '\n'});
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n";
  EXPECT_EQ(decode(units).text, utf8);
  EXPECT_EQ(decode(swapped(units), /*big_endian=*/true).text, utf8);
  // The edges of the pairs' range: U+10000 and U+10FFFF.
  EXPECT_EQ(decode(le({0xD800, 0xDC00, 0xDBFF, 0xDFFF})).text,
            "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
  EXPECT_EQ(decode("").text, "");
  // The edges between the lengths: U+007F, U+0080, U+07FF, U+0800, U+FFFF.
  EXPECT_EQ(decode(le({0x7F, 0x80, 0x7FF, 0x800, 0xFFFF})).text,
            "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
}

TEST(Utf16ToUtf8, LoneSurrogatesAreFaultsAtTheirOffset) {
  result high_at_end = decode(le({'a', 'b', 0xD83D}));
  EXPECT_FALSE(high_at_end.ok);
  EXPECT_EQ(high_at_end.bad_at, 4u);
  EXPECT_EQ(high_at_end.reason, "high surrogate without a low one after it");
  // A high surrogate followed by anything but a low one.
  result high_then_letter = decode(le({0xD83D, 'x'}));
  EXPECT_FALSE(high_then_letter.ok);
  EXPECT_EQ(high_then_letter.bad_at, 0u);
  result two_highs = decode(swapped(le({'a', 0xD800, 0xD800, 0xDC00})), true);
  EXPECT_FALSE(two_highs.ok);
  EXPECT_EQ(two_highs.bad_at, 2u);
  result low_alone = decode(le({'a', 0xDE00}));
  EXPECT_FALSE(low_alone.ok);
  EXPECT_EQ(low_alone.bad_at, 2u);
  EXPECT_EQ(low_alone.reason, "low surrogate without a high one before it");
}

TEST(Utf16ToUtf8, OddLengthIsAFaultAtTheLastByte) {
  result odd = decode(le({'a', 'b'}) + "c");
  EXPECT_FALSE(odd.ok);
  EXPECT_EQ(odd.bad_at, 4u);
  EXPECT_EQ(odd.reason, "odd number of bytes");
}

struct script_result {
  bool ok;
  std::string text;
  byte_order_mark mark;
  std::string err;
};

script_result script(const std::string& bytes) {
  text_encoding::decoded converted;
  std::string_view text;
  script_result r{};
  r.ok = text_encoding::script_text(bytes, &converted, &text, &r.mark, &r.err);
  if (r.ok) r.text = text;
  return r;
}

TEST(ScriptText, MarksDecideTheReading) {
  script_result plain = script("a\xFF\xFE");
  EXPECT_EQ(plain.mark, byte_order_mark::none);
  EXPECT_EQ(plain.text, "a\xFF\xFE");
  script_result utf8 = script("\xEF\xBB\xBF#include <a.au3>\n");
  EXPECT_EQ(utf8.mark, byte_order_mark::utf8);
  EXPECT_EQ(utf8.text, "#include <a.au3>\n");
  script_result little = script("\xFF\xFE" + le({'x', 0xE9}));
  EXPECT_EQ(little.mark, byte_order_mark::utf16le);
  EXPECT_EQ(little.text, "x\xC3\xA9");
  script_result big = script("\xFE\xFF" + swapped(le({'x', '\n'})));
  EXPECT_EQ(big.mark, byte_order_mark::utf16be);
  EXPECT_EQ(big.text, "x\n");
  // A UTF-16 mark alone is an empty script.
  EXPECT_EQ(script("\xFF\xFE").text, "");
}

TEST(ScriptText, FaultOffsetCountsFromTheStartOfTheFile) {
  script_result odd = script("\xFF\xFE" + le({'a'}) + "b");
  EXPECT_FALSE(odd.ok);
  EXPECT_EQ(odd.err, "not valid UTF-16 at byte offset 4: odd number of bytes");
  script_result lone = script("\xFE\xFF" + swapped(le({'a', 0xDC00})));
  EXPECT_FALSE(lone.ok);
  EXPECT_EQ(lone.err, "not valid UTF-16 at byte offset 4: low surrogate without a high one before it");
}

}  // namespace
