#include "passes/include/include_file_reader.h"

#include <utility>

#include "platform/input_file.h"

bool include_file_reader::read(std::string_view folder, const include_directive& directive,
                               const std::string& path, line_table& table,
                               std::vector<std::string_view>& lines) {
  if (read_path(path, table, lines)) return true;
  if (directive.written_name.empty()) return false;
  std::string as_written(folder);
  as_written += '\\';
  as_written += directive.written_name;
  return read_path(as_written, table, lines);
}

bool include_file_reader::read_path(const std::string& built, line_table& table,
                                    std::vector<std::string_view>& lines) {
  std::string path;
  if (!resolver_.resolve(built, &path)) return false;
  // Only regular files: a folder, FIFO or device reads as a missing file and
  // never blocks the run.
  std::string err;
  std::string bytes;
  if (!platform::read_file_bytes(path, /*regular_only=*/true, &bytes, &err)) return false;
  std::string_view text = table.keep(std::move(bytes));
  platform::for_each_text_line(text, [&](std::string_view line) { lines.push_back(line); });
  return true;
}
