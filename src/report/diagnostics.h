// The one messages module: warnings, notes and errors on standard error, in
// one format.

// Everything the tool says beyond its report goes to standard error through
// here, in one format: "warning: FILE:LINE: text", "warning: text",
// "error: text". Standard output is flushed first, so that a message stands
// after the report lines that led to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace diagnostics {

void warning(std::string_view text);
// `line` is 1-based, in `file` as the user wrote it; without a file, the
// message has no place.
void warning_at(std::string_view file, int64_t line, std::string_view text);
void error(std::string_view text);
// "note: FILE:LINE: text": what the run did on its own that the user may
// want to know.
void note_at(std::string_view file, int64_t line, std::string_view text);
// How many warnings have been printed so far (for --strict).
int64_t warnings_printed();
// From now on every warning is also kept, with its place, for the metafile.
struct kept_warning {
  std::string file;
  int64_t line = 0;
  std::string text;
};
void keep_warnings();
const std::vector<kept_warning>& kept_warnings();
// Free text (usage) on standard error, as it stands.
void note(std::string_view text);
// Whether everything sent to standard error got there.
bool all_written();

}  // namespace diagnostics
