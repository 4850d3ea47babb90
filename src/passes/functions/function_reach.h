// Tree shaking: which function names the running program can reach, from
// top-level code and the names kept by keep entries, through the bodies of
// the functions reached. A body runs from its header through the first
// line after it whose normalized text begins with "ENDFUNC" (or the last
// line), as a deletion blanks it; a header inside another body without its
// EndFunc makes the lines after it belong to both.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "passes/functions/function_headers.h"
#include "passes/functions/function_usage_index.h"
#include "script/normalized_lines.h"

class function_reach {
 public:
  using use = function_usage_index::use;
  // The headers in line order and the uses the index found, before any
  // line is blanked. A use of a header's own name on its header line
  // refers to nothing, as it keeps nothing in the usage test.
  function_reach(const std::vector<function_header>& headers, int32_t name_count,
                 std::span<const use> uses, const normalized_lines& transformed_lines,
                 int32_t line_count);

  // Reaches every name that a top-level line (in no body) uses, and all
  // that their bodies lead to.
  void reach_from_top_level();
  // Reaches the name, a root, and all that its bodies lead to.
  void reach(int32_t name);
  bool reached(int32_t name) const { return reached_[static_cast<size_t>(name)] != 0; }

  // For each use, on a body line, of a name not reached: on_mention(name,
  // line, header) with the header (an index) of the innermost body that
  // holds the line. Every body that holds such a line is not reached.
  template <class F>
  void for_each_unreached_mention(F&& on_mention) const {
    size_t h = 0;
    for (const use& u : uses_) {
      if (reached(u.name)) continue;
      while (h < headers_.size() && headers_[h].line <= u.line) ++h;
      if (h == 0) continue;  // before every body
      const size_t owner = h - 1;
      if (ends_[owner] < u.line) continue;  // top-level
      if (headers_[owner].line == u.line && static_cast<int32_t>(headers_[owner].name) == u.name) {
        continue;
      }
      on_mention(u.name, u.line, static_cast<int32_t>(owner));
    }
  }

 private:
  // Reaches the lines of header k's body that no reached body of its group
  // has gone through yet, then whatever their names lead to.
  void walk_body(size_t k);
  void drain();

  const std::vector<function_header>& headers_;
  std::span<const use> uses_;
  // Per header: the last line of its body, the first header of its group
  // (the headers that share that last line, one after the other), the first
  // use at or after its header line.
  std::vector<int32_t> ends_;
  std::vector<int32_t> group_of_;
  std::vector<uint32_t> first_use_;
  // Per group (by its first header): the first line from which its uses
  // have been walked through to its end (INT32_MAX: none yet).
  std::vector<int32_t> walked_from_;
  // Per name, its headers: those of name n are by_name_[name_start_[n]]
  // up to by_name_[name_start_[n + 1]].
  std::vector<int32_t> name_start_;
  std::vector<int32_t> by_name_;
  std::vector<char> reached_;
  // Names reached whose bodies are still to be walked.
  std::vector<int32_t> pending_;
};
