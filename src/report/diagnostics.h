// Everything the tool says beyond its report goes to standard error through
// here, in one format: "warning: FILE:LINE: text [kind]", "warning: text
// [kind]", "error: text". Standard output is flushed first, so that a
// message stands after the report lines that led to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace diagnostics {

// One of the places a warning stands for when it stands for several (the
// metafile lists them all), with the text there.
struct warning_place {
  std::string file;
  int64_t line = 0;
  std::string text;
};

// Every warning has a kind, the short name at its end ("[held-name]"): the
// one list of them, in the order the user documentation gives them.
const std::vector<std::string_view>& warning_kinds();
bool is_warning_kind(std::string_view kind);
// From now on, warnings of `kind` are neither printed, nor counted, nor kept.
void silence(std::string_view kind);
bool silenced(std::string_view kind);

void warning(std::string_view text, std::string_view kind);
// `line` is 1-based, in `file` as the user wrote it; without a file, the
// message has no place.
void warning_at(std::string_view file, int64_t line, std::string_view text, std::string_view kind,
                std::vector<warning_place> places = {});
void error(std::string_view text);
// "note: FILE:LINE: text": what the run did on its own that the user may
// want to know.
void note_at(std::string_view file, int64_t line, std::string_view text);
// How many warnings have been printed so far (for --strict).
int64_t warnings_printed();
// From now on every warning printed is also kept, with its place, for the
// metafile.
struct kept_warning {
  std::string file;
  int64_t line = 0;
  std::string text;
  std::string kind;
  std::vector<warning_place> places;
};
void keep_warnings();
const std::vector<kept_warning>& kept_warnings();
// Free text (usage) on standard error, as it stands.
void note(std::string_view text);
// Whether everything sent to standard error got there.
bool all_written();

}  // namespace diagnostics
