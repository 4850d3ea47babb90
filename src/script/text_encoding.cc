// Byte order marks, UTF-16 to UTF-8, and keeping a script's decoded text in
// its line table.
#include "script/text_encoding.h"

#include <cstdint>
#include <utility>

namespace text_encoding {

byte_order_mark mark_of(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return byte_order_mark::utf8;
  if (bytes.starts_with("\xFF\xFE")) return byte_order_mark::utf16le;
  if (bytes.starts_with("\xFE\xFF")) return byte_order_mark::utf16be;
  return byte_order_mark::none;
}

bool utf16_to_utf8(std::string_view units, bool big_endian, decoded* out, size_t* bad_at,
                   std::string* reason) {
  // Checked first, so that nothing is decoded from a file cut short.
  if (units.size() % 2 != 0) {
    *bad_at = units.size() - 1;
    *reason = "odd number of bytes";
    return false;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(units.data());
  auto unit_at = [&](size_t at) -> uint32_t {
    return big_endian ? (uint32_t{bytes[at]} << 8) | bytes[at + 1]
                      : (uint32_t{bytes[at + 1]} << 8) | bytes[at];
  };
  // Two bytes give at most three, a pair of four bytes gives four.
  out->data = std::make_unique_for_overwrite<char[]>(units.size() / 2 * 3 + 1);
  char* const start = out->data.get();
  char* at_out = start;
  for (size_t at = 0; at < units.size(); at += 2) {
    uint32_t code = unit_at(at);
    if (code >= 0xDC00 && code <= 0xDFFF) {
      *bad_at = at;
      *reason = "low surrogate without a high one before it";
      return false;
    }
    if (code >= 0xD800 && code <= 0xDBFF) {
      const uint32_t low = at + 2 < units.size() ? unit_at(at + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) {
        *bad_at = at;
        *reason = "high surrogate without a low one after it";
        return false;
      }
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      at += 2;
    }
    if (code < 0x80) {
      *at_out++ = static_cast<char>(code);
    } else if (code < 0x800) {
      *at_out++ = static_cast<char>(0xC0 | (code >> 6));
      *at_out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      *at_out++ = static_cast<char>(0xE0 | (code >> 12));
      *at_out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      *at_out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
      *at_out++ = static_cast<char>(0xF0 | (code >> 18));
      *at_out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      *at_out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      *at_out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  out->size = static_cast<size_t>(at_out - start);
  return true;
}

bool script_text(std::string_view bytes, decoded* converted, std::string_view* text,
                 byte_order_mark* mark, std::string* err) {
  *mark = mark_of(bytes);
  switch (*mark) {
    case byte_order_mark::none:
      *text = bytes;
      return true;
    case byte_order_mark::utf8:
      *text = bytes.substr(kUtf8Mark.size());
      return true;
    case byte_order_mark::utf16le:
    case byte_order_mark::utf16be:
      break;
  }
  constexpr size_t kMark = 2;
  size_t bad_at = 0;
  std::string reason;
  if (!utf16_to_utf8(bytes.substr(kMark), *mark == byte_order_mark::utf16be, converted, &bad_at,
                     &reason)) {
    *err = "not valid UTF-16 at byte offset " + std::to_string(bad_at + kMark) + ": " + reason;
    return false;
  }
  *text = {converted->data.get(), converted->size};
  return true;
}

bool keep_script_text(platform::file_bytes bytes, line_table& table, std::string_view* text,
                      byte_order_mark* mark, std::string* err) {
  decoded converted;
  if (!script_text(bytes.view(), &converted, text, mark, err)) return false;
  if (converted.data) {
    bytes.data.reset();
    *text = table.keep(std::move(converted.data), converted.size);
  } else {
    // A UTF-8 mark stays in the buffer, before the view.
    const size_t skipped = static_cast<size_t>(text->data() - bytes.data.get());
    *text = table.keep(std::move(bytes.data), bytes.size).substr(skipped);
  }
  return true;
}

}  // namespace text_encoding
