// Writing warnings, notes and errors to standard error, and counting and
// keeping the warnings for --strict and the metafile.
#include "report/diagnostics.h"

#include <cstdio>
#include <string>

#include "platform/console.h"

namespace diagnostics {

namespace {

int64_t printed = 0;
bool keeping = false;
std::vector<kept_warning> kept;

void count_warning(std::string_view file, int64_t line, std::string_view text) {
  ++printed;
  if (keeping) kept.push_back({std::string(file), line, std::string(text)});
}

// One write per message, so that messages of one run never interleave.
void emit(std::string_view kind, std::string_view place, std::string_view text) {
  console::flush();
  std::string message(kind);
  message += place;
  message += text;
  message += '\n';
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

void warning(std::string_view text) {
  count_warning({}, 0, text);
  emit("warning: ", {}, text);
}

namespace {

std::string place_of(std::string_view file, int64_t line) {
  if (file.empty()) return {};
  std::string place(file);
  place += ':';
  place += std::to_string(line);
  place += ": ";
  return place;
}

}  // namespace

void warning_at(std::string_view file, int64_t line, std::string_view text) {
  count_warning(file, line, text);
  emit("warning: ", place_of(file, line), text);
}

void note_at(std::string_view file, int64_t line, std::string_view text) {
  emit("note: ", place_of(file, line), text);
}

int64_t warnings_printed() { return printed; }

void keep_warnings() { keeping = true; }

const std::vector<kept_warning>& kept_warnings() { return kept; }

void error(std::string_view text) { emit("error: ", {}, text); }

void note(std::string_view text) {
  console::flush();
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

bool all_written() { return std::fflush(stderr) == 0 && !std::ferror(stderr); }

}  // namespace diagnostics
