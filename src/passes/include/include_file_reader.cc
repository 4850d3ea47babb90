#include "passes/include/include_file_reader.h"

#include "platform/input_file.h"

bool include_file_reader::read(std::string_view folder, const include_directive& directive,
                               const std::string& path, std::vector<std::string>& lines) {
  if (read_path(path, lines)) return true;
  if (directive.written_name.empty()) return false;
  std::string as_written(folder);
  as_written += '\\';
  as_written += directive.written_name;
  return read_path(as_written, lines);
}

bool include_file_reader::read_path(const std::string& built, std::vector<std::string>& lines) {
  std::string path;
  if (!resolver_.resolve(built, &path)) return false;
  // Only regular files: a folder, FIFO or device reads as a missing file and
  // never blocks the run.
  std::string err;
  if (!platform::read_file_bytes(path, /*regular_only=*/true, &bytes_, &err)) return false;
  platform::split_text_lines(bytes_, lines);
  return true;
}
