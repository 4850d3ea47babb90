// Tree shaking: which function names the running program can reach, from
// top-level code and the names kept by keep entries, through the bodies of the
// functions reached.

// A body runs from its header through the first line after it whose normalized
// text begins with "ENDFUNC" (or the last line), as a deletion blanks it; a
// header inside another body without its EndFunc makes the lines after it
// belong to both.
#pragma once

#include <cstdint>
#include <cstddef>
#include <span>
#include <vector>

#include "passes/functions/function_headers.h"
#include "passes/functions/function_usage_index.h"
#include "script/normalized_lines.h"

class function_reach {
 public:
  using use = function_usage_index::use;
  // The headers in line order and the uses the index found, before any
  // line is blanked; both are read until the object goes. Reaches every
  // name that a top-level line (in no body) uses, and all that their
  // bodies lead to. A use of a header's own name on its header line
  // refers to nothing, as it keeps nothing in the usage test.
  function_reach(const std::vector<function_header>& headers, int32_t name_count,
                 std::span<const use> uses, const normalized_lines& transformed_lines,
                 int32_t line_count);

  // Reaches the name, a root, and all that its bodies lead to.
  void reach(int32_t name);
  bool reached(int32_t name) const { return reached_[static_cast<size_t>(name)] != 0; }
  // No more roots: the tables of the walk go, what is reached stays.
  void finish();

  // For each use, on a body line, of a name not reached: on_mention(name,
  // line, header) with the header (an index) of the innermost body that
  // holds the line. Every body that holds such a line is not reached.
  // Reads the bodies' lines again: to be asked before any is blanked.
  template <class F>
  void for_each_unreached_mention(F&& on_mention) const {
    for_each_segment([&](size_t h, const use* first, const use* last, int32_t body_end) {
      for (const use* u = first; u != last && u->line <= body_end; ++u) {
        if (reached(u->name) || is_own_name(h, *u)) continue;
        on_mention(u->name, u->line, static_cast<int32_t>(h));
      }
    });
  }

 private:
  // The lines from header h to the next header (or the end) are its
  // segment. Calls on_segment(h, first, last, body_end) for every header in
  // line order: [first, last) are the segment's uses; those on lines up to
  // body_end stand in bodies (h's and those of the headers before it whose
  // bodies reach it), the others in top-level code. body_end is the
  // segment's EndFunc line, or INT32_MAX when the bodies go on into the
  // next segment. Each body line's text is read once.
  template <class F>
  void for_each_segment(F&& on_segment) const;
  bool is_own_name(size_t h, const use& u) const {
    return u.line == headers_[h].line && u.name == static_cast<int32_t>(headers_[h].name);
  }
  // Marks the name reached; its bodies are walked by drain.
  void mark(int32_t name);
  // Walks the bodies of the names marked and not yet walked.
  void drain();
  // Walks the segments from header h's on through its EndFunc, stopping at
  // one walked already (whoever walked it walked the rest too).
  void walk_from(size_t h);

  const std::vector<function_header>& headers_;
  std::span<const use> uses_;
  const normalized_lines& transformed_lines_;
  int32_t line_count_;
  // Per header: the first use of its segment (the next header's is the
  // segment's end), whether its segment holds its EndFunc, whether it has
  // been walked.
  std::vector<uint32_t> first_use_;
  std::vector<bool> closes_;
  std::vector<bool> walked_;
  // Per name, its headers, when some name has more than one (else header
  // n bears name n): those of name n are by_name_[name_start_[n]] up to
  // by_name_[name_start_[n + 1]].
  std::vector<int32_t> name_start_;
  std::vector<int32_t> by_name_;
  std::vector<char> reached_;
  // Names reached whose bodies are still to be walked.
  std::vector<int32_t> pending_;
};

template <class F>
void function_reach::for_each_segment(F&& on_segment) const {
  const use* next = uses_.data();
  const use* const end = uses_.data() + uses_.size();
  for (size_t h = 0; h < headers_.size(); ++h) {
    const int32_t start = headers_[h].line;
    const int32_t stop = h + 1 < headers_.size() ? headers_[h + 1].line : line_count_ + 1;
    while (next != end && next->line < start) ++next;
    const use* const first = next;
    while (next != end && next->line < stop) ++next;
    int32_t body_end = INT32_MAX;
    for (int32_t line = start; line < stop; ++line) {
      if (closes_function(transformed_lines_[line])) {
        body_end = line;
        break;
      }
    }
    on_segment(h, first, next, body_end);
  }
}
