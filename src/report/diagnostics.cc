#include "report/diagnostics.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "report/console.h"

namespace diagnostics {

namespace {

int64_t printed = 0;
bool keeping = false;
std::vector<kept_warning> kept;
std::vector<std::string_view> quiet;

void count_warning(std::string_view file, int64_t line, std::string_view text,
                   std::string_view kind, std::vector<warning_place> places) {
  ++printed;
  if (keeping) {
    kept.push_back({std::string(file), line, std::string(text), std::string(kind),
                    std::move(places)});
  }
}

// The text as printed: the kind in brackets at its end.
std::string tagged(std::string_view text, std::string_view kind) {
  std::string out(text);
  out += " [";
  out += kind;
  out += ']';
  return out;
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

const std::vector<std::string_view>& warning_kinds() {
  static const std::vector<std::string_view> kinds = {
      "argument",      "option-form", "pass-selection", "run-count",     "include-folder",
      "include-missing", "no-warn",   "keep-unmatched", "built-name",    "held-name",
      "held-variable", "why-unknown", "where-source"};
  return kinds;
}

bool is_warning_kind(std::string_view kind) {
  const auto& kinds = warning_kinds();
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

void silence(std::string_view kind) {
  // Held as the list's own view: the caller's text may go.
  const auto& kinds = warning_kinds();
  const auto known = std::find(kinds.begin(), kinds.end(), kind);
  if (known != kinds.end() && !silenced(kind)) quiet.push_back(*known);
}

bool silenced(std::string_view kind) {
  return std::find(quiet.begin(), quiet.end(), kind) != quiet.end();
}

void warning(std::string_view text, std::string_view kind) {
  if (silenced(kind)) return;
  count_warning({}, 0, text, kind, {});
  emit("warning: ", {}, tagged(text, kind));
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

void warning_at(std::string_view file, int64_t line, std::string_view text, std::string_view kind,
                std::vector<warning_place> places) {
  if (silenced(kind)) return;
  count_warning(file, line, text, kind, std::move(places));
  emit("warning: ", place_of(file, line), tagged(text, kind));
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
