// Reading the file that an include directive names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "passes/include/include_directive.h"
#include "platform/include_path.h"
#include "script/line_table.h"

class include_file_reader {
 public:
  // Appends the lines of the file at `path` (a folder, a backslash and the
  // directive's name) to `lines`, as views of its text, which `table` keeps.
  // When that cannot be opened, tries once more with the name as the
  // directive wrote it, in the same folder. False when neither can be read;
  // `lines` is then left as it was.
  bool read(std::string_view folder, const include_directive& directive, const std::string& path,
            line_table& table, std::vector<std::string_view>& lines);

 private:
  bool read_path(const std::string& built, line_table& table,
                 std::vector<std::string_view>& lines);

  platform::include_path_resolver resolver_;
};
