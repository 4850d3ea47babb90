// The minify switches as pragmas: "; au3shrink: minify" (and
// minify-whitespace, minify-identifiers, tree-shaking), so that the setting
// travels with the script.
#include <string_view>

#include "names/name_chains.h"
#include "script/autoitsourcefile.h"

namespace {

bool caseless_is(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) != lower[i]) return false;
  }
  return true;
}

// The switch word of a "; au3shrink: WORD" line (blanks and tabs allowed
// around each part, any letter case); empty for any other line.
std::string_view pragma_word(std::string_view line) {
  size_t at = skip_blanks(line, 0);
  if (at >= line.size() || line[at] != ';') return {};
  at = skip_blanks(line, at + 1);
  constexpr std::string_view kTool = "au3shrink";
  if (!caseless_is(line.substr(at, kTool.size()), kTool)) return {};
  at = skip_blanks(line, at + kTool.size());
  if (at >= line.size() || line[at] != ':') return {};
  at = skip_blanks(line, at + 1);
  size_t end = line.size();
  while (end > at && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
  return line.substr(at, end - at);
}

}  // namespace

autoitsourcefile::minify_switches autoitsourcefile::read_minify_pragmas() const {
  minify_switches on;
  for (const int32_t i : comment_lines) {
    const std::string_view word = pragma_word(lines[static_cast<size_t>(i)]);
    if (word.empty()) continue;
    if (caseless_is(word, "minify")) {
      on.whitespace = on.identifiers = on.tree_shaking = true;
    } else if (caseless_is(word, "minify-whitespace")) {
      on.whitespace = true;
    } else if (caseless_is(word, "minify-identifiers")) {
      on.identifiers = true;
    } else if (caseless_is(word, "tree-shaking")) {
      on.tree_shaking = true;
    }
  }
  return on;
}
