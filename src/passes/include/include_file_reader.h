// Finding and reading the file that an include directive names.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "passes/include/include_directive.h"
#include "platform/file_identity.h"
#include "platform/include_path.h"
#include "script/line_table.h"

// The folders a directive's file is looked for in.
struct include_places {
  // The include folder argument of the directive's form (angle or quoted).
  std::string_view folder;
  // The other include folder argument.
  std::string_view other_folder;
  // The folder of the file that holds the directive.
  std::string_view beside;
};

enum class include_lookup {
  missing,  // no candidate could be opened
  already,  // the file found has been spliced before in this run (*opened: by which path)
  read,     // the file found is new: its lines were read
  invalid,  // the file found is new, but it is not valid UTF-16
};

class include_file_reader {
 public:
  // Looks for the file of `directive`, whose built path is `path`, and takes
  // the first candidate that opens as a regular file: for a whole path, the
  // name as written and as built, as they stand; the built path; the
  // name as written in the same folder; then the name as written and the
  // built name beside the including file; then both in the other include
  // folder. A new file's lines are appended to `lines` as views of its text,
  // which `table` keeps and *text views, and *opened is the path it was
  // opened by. A file that begins with a UTF-16 byte order mark is read as
  // UTF-8; when it is not valid UTF-16, *err tells where (invalid).
  include_lookup take(const include_places& places, const include_directive& directive,
                      const std::string& path, line_table& table,
                      std::vector<std::string_view>& lines, std::string_view* text,
                      std::string* opened, std::string* err);
  // A file read so far was UTF-16 and is UTF-8 now.
  bool read_utf16() const { return read_utf16_; }

 private:
  struct location {
    bool found = false;
    std::string path;
    platform::file_identity identity;
  };
  // Where the candidate `built` leads, when it names a regular file.
  // Remembered, so that a name included a thousand times costs one lookup.
  const location& locate(const std::string& built);

  platform::include_path_resolver resolver_;
  std::unordered_map<std::string, location> located_;
  // Every file spliced so far, with the path it was opened by: one file
  // reached by two spellings is one file.
  std::map<platform::file_identity, std::string> spliced_;
  bool read_utf16_ = false;
};
