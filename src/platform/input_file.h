// Reading script files the way the Windows runtime reads them in text mode,
// on every platform: the bytes are read in binary and the line-end rules are
// applied here.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_scan.h"

namespace platform {

// Calls on_line(text) for each line of `bytes`, in order, with a view into
// `bytes`: LF and CR LF end a line, a lone CR stays in its line, byte 0x1A
// ends the input, a last line without a line end counts, and a line end at
// the very end makes no extra line.
template <class F>
void for_each_text_line(std::string_view bytes, F&& on_line) {
  const char* const data = bytes.data();
  size_t size = bytes.size();
  size_t start = 0;
  auto line_ends_at = [&](size_t lf) {
    size_t stop = lf;
    if (stop > start && data[stop - 1] == '\r') --stop;
    on_line(bytes.substr(start, stop - start));
    start = lf + 1;
  };
  // Many bytes at a time, looking for line feeds and the end mark at once:
  // lines are short, and a search call per line would cost more than it.
  // A block that holds the end mark is left to the smaller steps below.
  size_t at = 0;
  if constexpr (byte_scan::kBlockScan) {
    for (; at + 64 <= size; at += 64) {
      if (byte_scan::equal_bits64(data + at, '\x1a') != 0) break;
      for (uint64_t feeds = byte_scan::equal_bits64(data + at, '\n'); feeds != 0;
           feeds &= feeds - 1) {
        line_ends_at(at + static_cast<size_t>(std::countr_zero(feeds)));
      }
    }
  }
  if constexpr (byte_scan::kWordScan) {
    for (; at + 8 <= size; at += 8) {
      const uint64_t word = byte_scan::load(data + at);
      if (byte_scan::equal_bytes(word, '\x1a') != 0) break;  // the bytes below find it
      for (uint64_t feeds = byte_scan::equal_bytes(word, '\n'); feeds != 0; feeds &= feeds - 1) {
        line_ends_at(at + byte_scan::first_byte(feeds));
      }
    }
  }
  for (; at < size; ++at) {
    if (data[at] == '\x1a') {
      size = at;
      break;
    }
    if (data[at] == '\n') line_ends_at(at);
  }
  if (start < size) on_line(bytes.substr(start, size - start));
}

// At least as many lines as for_each_text_line finds in `bytes`, and at most
// one more: the line feeds before the first 0x1A, and one. *end_mark tells
// whether a 0x1A is there.
inline size_t text_line_bound(std::string_view bytes, bool* end_mark) {
  const char* const data = bytes.data();
  const size_t size = bytes.size();
  size_t feeds = 0;
  size_t at = 0;
  if constexpr (byte_scan::kBlockScan) {
    for (; at + 64 <= size; at += 64) {
      if (byte_scan::equal_bits64(data + at, '\x1a') != 0) break;
      feeds += static_cast<size_t>(std::popcount(byte_scan::equal_bits64(data + at, '\n')));
    }
  }
  for (; at < size && data[at] != '\x1a'; ++at) feeds += data[at] == '\n' ? 1 : 0;
  *end_mark = at < size;
  return feeds + 1;
}

// A file's bytes as read. Unlike a string's, the buffer is not cleared
// before the read fills it: for a script of many megabytes that would be a
// pass of its own.
struct file_bytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
  std::string_view view() const { return {data.get(), size}; }
};

// Reads a whole file in binary. With regular_only, anything but a regular
// file (a directory, FIFO or device) is refused without blocking on it.
// Paths are UTF-8 or, on Windows, per component in the ANSI code page.
bool read_file_bytes(const std::string& path, bool regular_only, file_bytes* bytes,
                     std::string* err);

// An input file opened up front and read later in one go. A device is
// refused (it may never end); a pipe or FIFO is read to its end on POSIX
// systems. On Windows only disk files are read: a reserved device name (CON,
// NUL, COM1 ...) or any other file type is refused.
class input_file {
 public:
  input_file() = default;
  ~input_file();
  input_file(const input_file&) = delete;
  input_file& operator=(const input_file&) = delete;

  // False, with the reason in error(), when the file cannot be opened.
  bool open(const std::string& path);
  bool is_open() const { return file_ != nullptr; }
  const std::string& error() const { return error_; }
  // Reads the whole file and closes it.
  bool read_all(file_bytes* bytes, std::string* err);
  void close();

 private:
  std::FILE* file_ = nullptr;
  // The file's size when known up front (a regular file), else 0.
  size_t size_ = 0;
  std::string error_;
};

}  // namespace platform
