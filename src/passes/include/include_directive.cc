#include "passes/include/include_directive.h"

#include "script/normalize.h"

namespace {

constexpr std::string_view keyword = "#INCLUDE";
constexpr std::string_view once_keyword = "#INCLUDE-ONCE";

// Whether "#include" stands anywhere in the line, in any case, without
// building an upper-case copy of every line of the script.
bool mentions_include(std::string_view line) {
  for (size_t hash = line.find('#'); hash != std::string_view::npos;
       hash = line.find('#', hash + 1)) {
    if (line.size() - hash < keyword.size()) return false;
    size_t i = 1;
    while (i < keyword.size() && upper_ascii(line[hash + i]) == keyword[i]) ++i;
    if (i == keyword.size()) return true;
  }
  return false;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank_or_tab(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank_or_tab(text.back())) text.remove_suffix(1);
  return text;
}

// The text between `open` and the first `close` after it, or nothing when
// the pair is not there in that order.
std::string_view between(std::string_view text, size_t open, size_t close) {
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) return {};
  return trimmed(text.substr(open + 1, close - open - 1));
}

}  // namespace

bool is_absolute_include_name(std::string_view name) {
  if (name.starts_with('\\') || name.starts_with('/')) return true;
  const char drive = upper_ascii(name.empty() ? '\0' : name[0]);
  return name.size() >= 2 && drive >= 'A' && drive <= 'Z' && name[1] == ':';
}

include_directive parse_include_directive(std::string_view line) {
  include_directive directive;
  // A directive's "#" is the line's first byte that is not blank, which
  // rules out nearly every line at a glance.
  if (lead_byte(line) != '#') return directive;
  // A blank inside the keyword hides it: the keyword is looked for before
  // blanks are removed.
  if (!mentions_include(line)) return directive;
  std::string copy = normalized(line);
  if (copy.starts_with(once_keyword)) {
    directive.kind = include_kind::once;
    return directive;
  }
  // "#include" later in the line (in a string or a comment) is no directive.
  if (!copy.starts_with(keyword)) return directive;
  directive.kind = include_kind::file;

  std::string upper = upper_copy(line);
  std::string_view written;
  size_t open = copy.find('<');
  if (open != std::string::npos) {
    directive.angle = true;
    size_t close = copy.find('>');
    if (close == std::string::npos || close < open) close = copy.size();
    directive.name = copy.substr(open + 1, close - open - 1);
    written = between(upper, upper.find('<'), upper.find('>'));
  } else {
    // A name in apostrophes is quoted like one in double quotes; the first
    // quote after the keyword says which ("it's.au3" in double quotes).
    // The last character closes the name, whatever it is; without a quote
    // the name starts at the beginning of the line.
    size_t quote = copy.find_first_of("\"'", keyword.size());
    size_t first = quote == std::string::npos ? 0 : quote + 1;
    size_t end = copy.size() - 1;
    if (end > first) directive.name = copy.substr(first, end - first);
    if (quote != std::string::npos) {
      const char mark = copy[quote];
      const size_t written_open = upper.find(mark, upper.find('#') + keyword.size());
      written = between(upper, written_open, upper.find(mark, written_open + 1));
    }
  }
  if (written != directive.name) directive.written_name = written;
  // Upper-casing keeps every byte in its place, so the written name stands
  // at the same offset in the line itself.
  directive.shown_name = written.empty()
                             ? directive.name
                             : std::string(line.substr(written.data() - upper.data(), written.size()));
  directive.absolute = is_absolute_include_name(directive.shown_name);
  return directive;
}
