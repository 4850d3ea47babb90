// The JSON writer's text: escapes, the layout of members and elements, and
// tables of members.
#include "report/json_writer.h"

#include <array>
#include <charconv>
#include <cstring>

#include "platform/large_pages.h"

namespace {

// The length of the valid UTF-8 sequence at the start of `s`, or 0: no
// overlong forms, no surrogates, nothing past U+10FFFF.
size_t utf8_sequence(std::string_view s) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// Bytes that stand for themselves inside a JSON string.
constexpr std::array<bool, 256> kPlain = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x80; ++c) plain[c] = c != '"' && c != '\\';
  return plain;
}();

bool is_plain(char c) { return kPlain[static_cast<unsigned char>(c)]; }

// The length of the run of plain bytes at the start of `bytes`.
size_t plain_run(std::string_view bytes) {
  size_t end = 0;
  while (end < bytes.size() && is_plain(bytes[end])) ++end;
  return end;
}

// Most members are short: each goes out in one append.
constexpr size_t kPiece = 64;

}  // namespace

void append_json_string(std::string_view bytes, std::string& out) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (size_t i = 0; i < bytes.size();) {
    // Most text is plain ASCII: a run of it goes out in one piece.
    const size_t run = plain_run(bytes.substr(i));
    out.append(bytes.data() + i, run);
    i += run;
    if (i == bytes.size()) break;
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x80) {
      if (const size_t length = utf8_sequence(bytes.substr(i)); length > 0) {
        out.append(bytes.substr(i, length));
        i += length;
      } else {
        // The Latin-1 reading of the byte, as UTF-8.
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
        ++i;
      }
      continue;
    }
    ++i;
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default: {
        const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
        out.append(escape, sizeof escape);
      }
    }
  }
}

json_writer::json_writer(size_t depth, bool filled) : filled_(depth, true) {
  if (depth > 0) filled_.back() = filled;
}

void json_writer::add_elements(std::string_view text, bool any) {
  text_.append(text);
  if (any) filled_.back() = true;
}

void json_writer::reserve(size_t bytes) {
  text_.reserve(bytes);
  platform::prefer_large_pages(text_.data() + text_.size(), text_.capacity() - text_.size());
}

void json_writer::new_line() {
  if (one_line_from_ > 0) return;
  text_ += "\r\n";
  text_.append(2 * filled_.size(), ' ');
}

void json_writer::before_value() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (filled_.empty()) return;
  if (filled_.back()) text_ += one_line_from_ > 0 ? ", " : ",";
  filled_.back() = true;
  new_line();
}

void json_writer::begin_object() {
  before_value();
  text_ += '{';
  filled_.push_back(false);
}

void json_writer::begin_one_line_object() {
  begin_object();
  if (one_line_from_ == 0) one_line_from_ = filled_.size();
}

void json_writer::close(char bracket) {
  const bool filled = filled_.back();
  const bool closes_line = one_line_from_ == filled_.size();
  filled_.pop_back();
  if (filled) new_line();
  if (closes_line) one_line_from_ = 0;
  text_ += bracket;
}

void json_writer::end_object() { close('}'); }

void json_writer::begin_array() {
  before_value();
  text_ += '[';
  filled_.push_back(false);
}

void json_writer::end_array() { close(']'); }

void json_writer::quoted(std::string_view inside, std::string_view after) {
  if (inside.size() + after.size() + 2 > kPiece) {
    text_ += '"';
    text_.append(inside);
    text_ += '"';
    text_.append(after);
    return;
  }
  char piece[kPiece];
  piece[0] = '"';
  if (!inside.empty()) std::memcpy(piece + 1, inside.data(), inside.size());
  piece[inside.size() + 1] = '"';
  if (!after.empty()) std::memcpy(piece + inside.size() + 2, after.data(), after.size());
  text_.append(piece, inside.size() + after.size() + 2);
}

void json_writer::key(std::string_view name) {
  before_value();
  quoted(name, ": ");
  after_key_ = true;
}

void json_writer::members_then_key(std::string_view text) {
  before_value();
  text_.append(text);
  after_key_ = true;
}

void json_writer::value(std::string_view text) {
  before_value();
  if (plain_run(text) == text.size()) {
    quoted(text, {});
  } else {
    text_ += '"';
    append_json_string(text, text_);
    text_ += '"';
  }
}

void json_writer::escaped_value(std::string_view inside) {
  before_value();
  quoted(inside, {});
}

void json_writer::value(int64_t number) {
  before_value();
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  text_.append(digits, static_cast<size_t>(end - digits));
}

void json_writer::value(bool truth) {
  before_value();
  text_ += truth ? "true" : "false";
}

void json_writer::null() {
  before_value();
  text_ += "null";
}

void json_writer::scalar_value(const json_scalar& scalar) {
  switch (scalar.kind_) {
    case json_scalar::kind::text:
      value(scalar.text_);
      break;
    case json_scalar::kind::escaped:
      escaped_value(scalar.text_);
      break;
    case json_scalar::kind::number:
      value(scalar.number_);
      break;
    case json_scalar::kind::truth:
      value(scalar.number_ != 0);
      break;
    case json_scalar::kind::null:
      null();
      break;
  }
}

void json_writer::member(std::string_view name, const json_scalar& scalar) {
  key(name);
  scalar_value(scalar);
}

void json_writer::members(std::initializer_list<json_member> table) {
  for (const json_member& row : table) member(row.key, row.value);
}

void json_writer::object(std::string_view name, std::initializer_list<json_member> table) {
  key(name);
  begin_object();
  members(table);
  end_object();
}

void json_writer::one_line_object(std::initializer_list<json_member> table) {
  begin_one_line_object();
  members(table);
  end_object();
}
