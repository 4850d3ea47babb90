#include "passes/deadcode/variable_scan.h"

#include "script/autoitsourcefile.h"

namespace {

bool is_declaring_word(std::string_view buffer) {
  if (buffer.size() > 6) return false;
  for (std::string_view word : declaring_words) {
    if (buffer == word) return true;
  }
  return false;
}

}  // namespace

bool is_declaration_line(std::string_view normalized_line) {
  // The first bytes decide for most lines; only a declaration is searched.
  return (normalized_line.starts_with("DIM") || normalized_line.starts_with("LOCAL") ||
          normalized_line.starts_with("GLOBAL") || normalized_line.starts_with("CONST")) &&
         normalized_line.find("ENUM") == std::string_view::npos;
}

void walk_declaration(std::string_view normalized_line, bool comments_kept,
                      std::vector<std::string>& names) {
  bool in_single = false;
  bool in_double = false;
  int64_t depth_parens = 0;
  int64_t depth_brackets = 0;
  bool collecting = true;
  std::string buffer;

  for (char c : normalized_line) {
    if (c == '\'' && !in_single && !in_double) {
      in_single = true;
    } else if (c == '\'' && in_single) {
      in_single = false;
    } else if (c == '"' && !in_single && !in_double) {
      in_double = true;
    } else if (c == '"' && in_double) {
      in_double = false;
    } else if (in_single || in_double) {
      // Inside a string: nothing counts.
    } else if (c == ';' && comments_kept) {
      break;  // The rest is a comment; the line ends here.
    } else if (c == '(') {
      ++depth_parens;
    } else if (c == ')') {
      --depth_parens;
    } else if (c == '[') {
      ++depth_brackets;
    } else if (c == ']') {
      --depth_brackets;
    } else if (depth_parens != 0 || depth_brackets != 0) {
      // Inside a call or an index: commas there separate no declarations.
    } else if (c == ',' || c == '=') {
      if (collecting) names.push_back(buffer);
      if (c == '=') {
        collecting = false;  // An initial value follows, not a name.
      } else {
        collecting = true;
        buffer.clear();
      }
    } else {
      buffer.push_back(c);
      if (is_declaring_word(buffer)) buffer.clear();
    }
  }
  if (collecting) names.push_back(buffer);
}

void scan_variables(autoitsourcefile& script, variable_table& table, const progress& report) {
  const bool comments_kept = !script.comments_removed;
  std::vector<std::string> names;
  for (int32_t i = 1; i <= script.line_count; ++i) {
    std::string_view line = script.transformed_lines[i];
    if (!is_declaration_line(line)) continue;
    names.clear();
    walk_declaration(line, comments_kept, names);
    for (std::string& name : names) {
      const int32_t n = script.variable_count + 1;
      if (table.variable_names.size() <= static_cast<size_t>(n)) {
        table.variable_names.resize(n + 1);
        table.declaration_lines.resize(n + 1, 0);
      }
      table.variable_names[n] = std::move(name);
      table.declaration_lines[n] = i;
      script.variable_count = n;
      report.event("found variable: ", n, ":  ", table.variable_names[n], i);
    }
  }
}
