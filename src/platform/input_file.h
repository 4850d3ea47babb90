// Reading script files the way the Windows runtime reads them in text mode,
// on every platform: the bytes are read in binary and the line-end rules are
// applied here.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Appends the lines of `bytes` to `out`: LF and CR LF end a line, a lone CR
// stays in its line, byte 0x1A ends the input, a last line without a line end
// counts, and a line end at the very end makes no extra line.
void split_text_lines(std::string_view bytes, std::vector<std::string>& out);

// Reads a whole file in binary. With regular_only, anything but a regular
// file (a directory, FIFO or device) is refused without blocking on it.
bool read_file_bytes(const std::string& path, bool regular_only, std::string* bytes,
                     std::string* err);

// An input file opened up front and read later in one go.
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
  bool read_all(std::string* bytes, std::string* err);
  void close();

 private:
  std::FILE* file_ = nullptr;
  std::string error_;
};

}  // namespace platform
