// The metafile's JSON: nesting, escapes, and bytes that are not UTF-8.
#include "report/json_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

std::string escaped(std::string_view bytes) {
  std::string out;
  append_json_string(bytes, out);
  return out;
}

TEST(JsonWriter, NestsWithCommasAndCrLf) {
  json_writer json;
  json.begin_object();
  json.key("a");
  json.value(int64_t{-5});
  json.key("list");
  json.begin_array();
  json.value("x");
  json.null();
  json.value(true);
  json.end_array();
  json.key("empty");
  json.begin_array();
  json.end_array();
  json.end_object();
  EXPECT_EQ(json.text(),
            "{\r\n  \"a\": -5,\r\n  \"list\": [\r\n    \"x\",\r\n    null,\r\n    true\r\n  ],\r\n"
            "  \"empty\": []\r\n}");
}

TEST(JsonWriter, AnObjectOnOneLineKeepsWhatItHoldsThere) {
  json_writer json;
  json.begin_array();
  json.begin_one_line_object();
  json.key("a");
  json.value(int64_t{1});
  json.key("b");
  json.begin_object();
  json.key("c");
  json.value("d");
  json.end_object();
  json.end_object();
  json.begin_one_line_object();
  json.end_object();
  json.end_array();
  EXPECT_EQ(json.text(), "[\r\n  {\"a\": 1, \"b\": {\"c\": \"d\"}},\r\n  {}\r\n]");
}

// A table of members writes what the calls one by one would.
TEST(JsonWriter, MembersFromATableOfEveryKind) {
  json_writer json;
  json.begin_object();
  json.members({{"s", std::string("a\"b")}, {"n", int32_t{7}}, {"t", false}, {"z", nullptr}});
  json.object("o", {{"e", json_scalar::escaped("\\u")}});
  json.key("l");
  json.begin_array();
  json.one_line_object({{"x", 1}, {"y", "v"}});
  json.end_array();
  json.end_object();
  EXPECT_EQ(json.text(),
            "{\r\n  \"s\": \"a\\\"b\",\r\n  \"n\": 7,\r\n  \"t\": false,\r\n  \"z\": null,\r\n"
            "  \"o\": {\r\n    \"e\": \"\\u\"\r\n  },\r\n  \"l\": [\r\n    {\"x\": 1, \"y\": \"v\"}\r\n  ]\r\n}");
}

TEST(JsonWriter, PartsMadeApartJoinAsOneArray) {
  auto whole = [](int split) {
    json_writer json;
    json.begin_object();
    json.key("list");
    json.begin_array();
    for (auto [from, to] : {std::pair{0, split}, std::pair{split, 3}}) {
      json_writer part(2, from > 0);
      for (int i = from; i < to; ++i) {
        part.begin_one_line_object();
        part.key("i");
        part.value(int64_t{i});
        part.end_object();
      }
      json.add_elements(part.text(), true);
    }
    json.end_array();
    json.end_object();
    return json.text();
  };
  EXPECT_EQ(whole(0), whole(2));
  EXPECT_EQ(whole(3), whole(1));
  EXPECT_EQ(whole(1),
            "{\r\n  \"list\": [\r\n    {\"i\": 0},\r\n    {\"i\": 1},\r\n    {\"i\": 2}\r\n  ]\r\n}");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlBytes) {
  EXPECT_EQ(escaped("a\"b\\c"), "a\\\"b\\\\c");
  EXPECT_EQ(escaped(std::string("\r\n\t\x01\x1f\x7f", 6)), "\\r\\n\\t\\u0001\\u001f\x7f");
  EXPECT_EQ(escaped(std::string("\0", 1)), "\\u0000");
}

TEST(JsonWriter, ValidUtf8PassesAndOtherBytesReadAsLatin1) {
  EXPECT_EQ(escaped("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"),
            "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80");
  // An ANSI "é" (0xE9) becomes U+00E9.
  EXPECT_EQ(escaped("caf\xe9"), "caf\xc3\xa9");
  // Overlong forms, surrogates, past U+10FFFF and cut sequences: byte by byte.
  EXPECT_EQ(escaped("\xc0\xaf"), "\xc3\x80\xc2\xaf");
  EXPECT_EQ(escaped("\xed\xa0\x80"), "\xc3\xad\xc2\xa0\xc2\x80");
  EXPECT_EQ(escaped("\xf4\x90\x80\x80"), "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80");
  EXPECT_EQ(escaped("\xe2\x82"), "\xc3\xa2\xc2\x82");
  EXPECT_EQ(escaped("\xff"), "\xc3\xbf");
}

}  // namespace
