// The encodings a script file may come in.

// AutoIt reads a file that begins with a UTF-16 byte order mark as UTF-16; the
// passes work on bytes, so such a file is turned into UTF-8 as soon as it is
// read, before its lines are split. A UTF-8 byte order mark is taken off the
// text, so that it does not stand before the first line's directive or keyword.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/input_file.h"
#include "script/line_table.h"

namespace text_encoding {

enum class byte_order_mark { none, utf8, utf16le, utf16be };

// The mark `bytes` begin with.
byte_order_mark mark_of(std::string_view bytes);

inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Text in a buffer of its own.
struct decoded {
  std::unique_ptr<char[]> data;
  size_t size = 0;
};

// Turns the UTF-16 code units of `units` into UTF-8. False when they are not
// valid UTF-16: an odd number of bytes, or a surrogate that is not one half
// of a pair. *bad_at is then the offset in `units` of the byte where the
// fault lies, and *reason says what it is.
bool utf16_to_utf8(std::string_view units, bool big_endian, decoded* out, size_t* bad_at,
                   std::string* reason);

// A file's bytes as the passes take them: after a UTF-8 mark, or turned
// from UTF-16 into UTF-8 after a UTF-16 mark; otherwise as they stand.
// *text views the bytes, or *converted when they had to be turned. *mark is
// the mark found. False, with *err naming the byte offset in the file, when
// a UTF-16 file is not valid.
bool script_text(std::string_view bytes, decoded* converted, std::string_view* text,
                 byte_order_mark* mark, std::string* err);

// script_text for a file read whole: `table` keeps the text (the bytes as
// read, or the UTF-8 they were turned into), and *text views it there.
bool keep_script_text(platform::file_bytes bytes, line_table& table, std::string_view* text,
                      byte_order_mark* mark, std::string* err);

}  // namespace text_encoding
