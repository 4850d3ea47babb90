// A small JSON writer: objects, arrays, strings and integers, one member or
// element to a line, indented, lines ending in CR LF like every file the
// tool writes; an object begun on one line keeps all it holds on that line. Strings are byte
// strings: valid UTF-8 passes through, and each byte that is not part of a valid UTF-8 sequence
// (text in an ANSI code page) becomes the character of the same number, U+0080 to U+00FF, as
// Latin-1 reads it. Control characters, '"' and '\' are escaped. Whatever
// the bytes, the text is valid JSON.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class json_writer {
 public:
  json_writer() = default;
  // A writer for a part of an array made apart: it goes on as if `depth`
  // arrays or objects were open, the innermost already holding an element
  // when `filled`. Its text joins the whole through add_elements.
  json_writer(size_t depth, bool filled);
  // Text of such a part, as the next elements of the array open; `any`:
  // whether it holds an element.
  void add_elements(std::string_view text, bool any);
  void begin_object();
  // An object written on one line, with whatever it holds.
  void begin_one_line_object();
  void end_object();
  void begin_array();
  void end_array();
  // The key of the next member of the object open: the program's own
  // plain ASCII name, written as it stands.
  void key(std::string_view name);
  // Members the caller wrote whole, then the key of the next one, as
  // `"a": 1, "b": `: for an object on one line, where ", " parts members.
  void members_then_key(std::string_view text);
  void value(std::string_view text);
  void value(const char* text) { value(std::string_view(text)); }
  // A string whose inside append_json_string already made.
  void escaped_value(std::string_view inside);
  void value(int64_t number);
  void value(int32_t number) { value(static_cast<int64_t>(number)); }
  void value(bool truth);
  void null();
  // The text so far; complete once every object and array is closed.
  const std::string& text() const { return text_; }
  std::string take_text() { return std::move(text_); }
  // Room for `bytes` of text, taken at once, in large pages where it can.
  void reserve(size_t bytes);

 private:
  void before_value();
  void close(char bracket);
  void new_line();
  // '"', `inside`, '"', then `after`.
  void quoted(std::string_view inside, std::string_view after);

  std::string text_;
  // Per open object or array: whether it has an element yet.
  std::vector<uint8_t> filled_;
  // While an object on one line is open: the depth it was opened at, else 0.
  size_t one_line_from_ = 0;
  bool after_key_ = false;
};

// `bytes` as the inside of a JSON string, as json_writer writes it.
void append_json_string(std::string_view bytes, std::string& out);
