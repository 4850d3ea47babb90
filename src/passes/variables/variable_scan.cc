// Finding the declaration lines and walking each one for the variables it
// declares.
#include "passes/variables/variable_scan.h"

#include <array>

#include "passes/variables/declaration_depth.h"
#include "passes/variables/initializer_calls.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"
#include "script/two_threads.h"

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
  return begins_like_declaration(normalized_line) &&
         normalized_line.find("ENUM") == std::string_view::npos;
}

void walk_declaration(std::string_view normalized_line, bool comments_kept,
                      std::vector<std::string>& names) {
  packed_views views;
  std::deque<std::string> spilled;
  walk_declaration(normalized_line, comments_kept, views, spilled);
  for (size_t v = 0; v < views.size(); ++v) names.emplace_back(views[v]);
}

void walk_declaration(std::string_view normalized_line, bool comments_kept,
                      packed_views& names, std::deque<std::string>& spilled_names) {
  declaration_depth depth;
  bool collecting = true;
  // The bytes collected: `spilled`, then the bytes [run, run_end) of the
  // line. Most names stand in one piece in the line and are not copied.
  std::string spilled;
  size_t run = 0;
  size_t run_end = 0;
  auto collected = [&]() -> std::string_view {
    if (spilled.empty()) return normalized_line.substr(run, run_end - run);
    std::string& text = spilled_names.emplace_back(spilled);
    text.append(normalized_line.substr(run, run_end - run));
    return text;
  };
  // The collected bytes as a declaring word would be: no copy is kept.
  auto is_declaring_run = [&] {
    if (spilled.empty()) return is_declaring_word(normalized_line.substr(run, run_end - run));
    std::string text = spilled;
    text.append(normalized_line.substr(run, run_end - run));
    return is_declaring_word(text);
  };

  const size_t size = normalized_line.size();
  for (size_t at = 0; at < size; ++at) {
    const char c = normalized_line[at];
    // Strings, quotes, parentheses and brackets name nothing.
    if (!depth.step(c)) continue;
    if (c == ';' && comments_kept) break;  // The rest is a comment; the line ends here.
    // Inside a call or an index: commas there separate no declarations.
    if (!depth.top_level()) continue;
    if (c == ',' || c == '=') {
      if (collecting) names.push_back(collected());
      if (c == '=') {
        collecting = false;  // An initial value follows, not a name.
      } else {
        collecting = true;
        spilled.clear();
        run = run_end = at + 1;
      }
      continue;
    }
    if (at != run_end) {  // the bytes collected are no longer in one piece
      spilled.append(normalized_line.substr(run, run_end - run));
      run = at;
    }
    run_end = at + 1;
    // Every declaring word ends in one of these letters.
    if ((c == 'M' || c == 'L' || c == 'T' || c == 'C') && spilled.size() + (run_end - run) <= 6 &&
        is_declaring_run()) {
      spilled.clear();
      run = run_end;
    }
  }
  if (collecting) names.push_back(collected());
}

void scan_variables(autoitsourcefile& script, variable_table& table, const progress& report) {
  const bool comments_kept = !script.comments_removed;
  // Each half of the declaration lines is walked on a thread of its own;
  // the variables are then numbered and announced in line order.
  struct found {
    packed_views names;
    std::vector<int32_t> lines;
    std::vector<char> calls;
    // Names the line does not hold in one piece: their copies, and where
    // they stand in `names`.
    std::deque<std::string> spilled;
    std::vector<size_t> spilled_at;
  };
  std::array<found, 2> parts;
  // The first half's lists are the table's, grown: the table's entries so
  // far come first, and no copy of a line's million names is made.
  const auto first_new = static_cast<size_t>(script.variable_count) + 1;
  table.variable_names.resize(first_new);
  table.declaration_lines.resize(first_new, 0);
  table.item_calls.resize(first_new, 0);
  parts[0].names = std::move(table.variable_names);
  parts[0].lines = std::move(table.declaration_lines);
  parts[0].calls = std::move(table.item_calls);
  const std::vector<int32_t>& candidates = script.declaration_lines;
  two_threads::split(0, candidates.size(), [&](int half, size_t first, size_t last) {
    found& part = parts[half];
    packed_views& names = part.names;
    for (size_t c = first; c < last; ++c) {
      const int32_t i = candidates[c];
      std::string_view line = script.transformed_lines[i];
      if (!is_declaration_line(line)) continue;
      const size_t before = names.size();
      const size_t spilled_before = part.spilled.size();
      walk_declaration(line, comments_kept, names, part.spilled);
      if (part.spilled.size() != spilled_before) {
        for (size_t v = before; v < names.size(); ++v) {
          const char* at = names[v].data();
          if (at < line.data() || at > line.data() + line.size()) part.spilled_at.push_back(v);
        }
      }
      part.lines.insert(part.lines.end(), names.size() - before, i);
      // Calls are looked for in the line as written: the normalized copy
      // runs an operator word into the name after it ("And IsVisible(").
      std::vector<char>& calls = part.calls;
      item_calls(script.lines[i], comments_kept, calls);
      calls.resize(part.lines.size(), 0);
    }
  });
  // The copies go where the names outlive the pass: into the line table.
  for (found& part : parts) {
    for (size_t v : part.spilled_at) part.names.set(v, script.lines.keep_copy(part.names[v]));
    part.spilled.clear();
  }
  table.variable_names = std::move(parts[0].names);
  table.declaration_lines = std::move(parts[0].lines);
  table.item_calls = std::move(parts[0].calls);
  found& second = parts[1];
  for (size_t v = 0; v < second.names.size(); ++v) {
    table.variable_names.push_back(second.names[v]);
    table.declaration_lines.push_back(second.lines[v]);
    table.item_calls.push_back(second.calls[v]);
  }
  second = found();
  for (size_t n = first_new; n < table.variable_names.size(); ++n) {
    script.variable_count = static_cast<int32_t>(n);
    report.event("found variable: ", static_cast<int64_t>(n), ":  ", table.variable_names[n],
                 table.declaration_lines[n]);
  }
}
