// A small JSON writer: objects, arrays, strings and integers, one member or
// element to a line, indented, lines ending in CR LF like every file the tool
// writes; an object begun on one line keeps all it holds on that line.

// Strings are byte strings: valid UTF-8 passes through, and each byte that is
// not part of a valid UTF-8 sequence (text in an ANSI code page) becomes the
// character of the same number, U+0080 to U+00FF, as Latin-1 reads it.
// Control characters, '"' and '\' are escaped. Whatever the bytes, the text is
// valid JSON.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A member's value as a table of members gives it: a string, an integer, a
// truth value or null.
class json_scalar {
 public:
  json_scalar(std::string_view text) : kind_(kind::text), text_(text) {}
  json_scalar(const std::string& text) : json_scalar(std::string_view(text)) {}
  json_scalar(const char* text) : json_scalar(std::string_view(text)) {}
  template <std::integral T>
    requires(!std::same_as<T, bool>)
  json_scalar(T number) : kind_(kind::number), number_(static_cast<int64_t>(number)) {}
  json_scalar(bool truth) : kind_(kind::truth), number_(truth ? 1 : 0) {}
  json_scalar(std::nullptr_t) : kind_(kind::null) {}
  // A string whose inside append_json_string already made.
  static json_scalar escaped(std::string_view inside) {
    json_scalar made(inside);
    made.kind_ = kind::escaped;
    return made;
  }

 private:
  friend class json_writer;
  enum class kind : uint8_t { text, escaped, number, truth, null };
  kind kind_;
  std::string_view text_;
  int64_t number_ = 0;
};

// One row of a table of members: the key, the program's own plain ASCII
// name, and the value.
struct json_member {
  std::string_view key;
  json_scalar value;
};

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
  // A key and its value.
  void member(std::string_view name, const json_scalar& scalar);
  // Members in the order of the table, in the object open.
  void members(std::initializer_list<json_member> table);
  // A member whose value is an object of the members of the table.
  void object(std::string_view name, std::initializer_list<json_member> table);
  // An object of the members of the table, on one line.
  void one_line_object(std::initializer_list<json_member> table);
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
  void scalar_value(const json_scalar& scalar);

  std::string text_;
  // Per open object or array: whether it has an element yet.
  std::vector<uint8_t> filled_;
  // While an object on one line is open: the depth it was opened at, else 0.
  size_t one_line_from_ = 0;
  bool after_key_ = false;
};

// `bytes` as the inside of a JSON string, as json_writer writes it.
void append_json_string(std::string_view bytes, std::string& out);
