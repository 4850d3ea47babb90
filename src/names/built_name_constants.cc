// Reading the script for the constants that built names start with: the
// declaration of each, and any other assignment, which makes it no constant.
#include "names/built_name_constants.h"

#include "names/name_chains.h"
#include "names/name_table.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"

namespace {

// Whether `op` at `at` is an assignment: =, &=, +=, -=, *=, /=.
bool assigns_at(std::string_view line, size_t at) {
  if (at >= line.size()) return false;
  if (line[at] == '=') return true;
  const char c = line[at];
  return (c == '&' || c == '+' || c == '-' || c == '*' || c == '/') && at + 1 < line.size() &&
         line[at + 1] == '=';
}

bool is_word(std::string_view word, std::string_view upper) {
  if (word.size() != upper.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (upper_ascii(word[i]) != upper[i]) return false;
  }
  return true;
}

}  // namespace

built_name_constants::built_name_constants(const autoitsourcefile& script,
                                           const std::vector<std::string>& wanted) {
  for (const std::string& name : wanted) names_.try_emplace(name);
  for (const int32_t i : script.declaration_lines) read_declaration(script.lines[i]);
  for (int32_t i = 1; i <= script.line_count; ++i) read_assignments(script.lines[i]);
}

const std::string* built_name_constants::literal_of(const std::string& variable) const {
  auto it = names_.find(variable);
  if (it == names_.end()) return nullptr;
  const facts& f = it->second;
  return f.declarations == 1 && !f.assigned && f.literal_only ? &f.literal : nullptr;
}

built_name_constants::facts* built_name_constants::wanted(std::string_view written_name) {
  auto it = names_.find(upper_copy(written_name));
  return it == names_.end() ? nullptr : &it->second;
}

void built_name_constants::read_declaration(std::string_view line) {
  // Items are split at the commas outside strings, parentheses and brackets;
  // each declares the first "$name" it holds.
  size_t item = 0;
  int depth = 0;
  for (size_t at = 0; at <= line.size();) {
    const bool ends = at == line.size() || line[at] == ';' || (depth == 0 && line[at] == ',');
    if (!ends) {
      const char c = line[at];
      if (opens_string(c)) {
        at = string_end(line, at, nullptr);
        continue;
      }
      if (c == '(' || c == '[') ++depth;
      if (c == ')' || c == ']') --depth;
      ++at;
      continue;
    }
    const std::string_view text = line.substr(item, at - item);
    const size_t dollar = text.find('$');
    if (dollar != std::string_view::npos) {
      const size_t name_end = word_run_end(text, dollar + 1);
      if (facts* f = wanted(text.substr(dollar, name_end - dollar))) {
        ++f->declarations;
        // `$V = "literal"` and nothing else.
        size_t p = skip_blanks(text, name_end);
        std::string literal;
        bool only = p < text.size() && text[p] == '=';
        if (only) {
          p = skip_blanks(text, p + 1);
          only = p < text.size() && opens_string(text[p]);
        }
        if (only) {
          const size_t close = string_end(text, p, &literal);
          only = close <= text.size() && text[close - 1] == text[p] && close > p + 1 &&
                 skip_blanks(text, close) == text.size();
        }
        f->literal_only = only;
        f->literal = std::move(literal);
      }
    }
    if (at == line.size() || line[at] == ';') return;
    item = ++at;
  }
}

void built_name_constants::read_assignments(std::string_view line) {
  auto check = [&](size_t at) {
    at = skip_blanks(line, at);
    if (at >= line.size() || line[at] != '$') return;
    const size_t end = word_run_end(line, at + 1);
    if (end == at + 1) return;
    if (!assigns_at(line, skip_blanks(line, end))) return;
    if (facts* f = wanted(line.substr(at, end - at))) f->assigned = true;
  };
  check(0);
  // Then after each Then and For outside strings.
  for (size_t at = 0; at < line.size();) {
    const char c = line[at];
    if (c == ';') return;
    if (opens_string(c)) {
      at = string_end(line, at, nullptr);
      continue;
    }
    if (!is_word_byte(c)) {
      ++at;
      continue;
    }
    const size_t end = word_run_end(line, at);
    const bool plain = at == 0 || (line[at - 1] != '$' && line[at - 1] != '@' && line[at - 1] != '.');
    const std::string_view word = line.substr(at, end - at);
    if (plain && (is_word(word, "THEN") || is_word(word, "FOR"))) check(end);
    at = end;
  }
}
