// Which lines use which function names.

// A line uses a name when its normalized text holds NAME( or the name in double
// or single quotes anywhere, or the name as a whole word. The unused-function
// pass only ever blanks whole lines, so it is enough to count, per name, the
// lines that use it, once for all names together, and to take a line out of the
// counts when it is blanked: a name is used while its count is not zero. The
// (line, name) uses found by the count are kept, in line order, so that
// blanking a line looks its uses up instead of reading its text again; most
// lines use no function name at all, so the list stays short. A header line
// whose one use is its own name (most are) keeps that use in its header
// instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "passes/functions/function_headers.h"
#include "script/line_table.h"
#include "script/normalized_lines.h"

class function_usage_index {
 public:
  struct use {
    int32_t line;
    int32_t name;
  };
  // The headers found, whose table the index takes over. Counts lines
  // 1..line_count of the normalized table; the tables that find the names
  // are let go once the lines are counted. The headers are read until the
  // index goes: the pass may drop blanked ones (then says headers_moved),
  // never one still counted.
  function_usage_index(function_headers& found, const normalized_lines& transformed_lines,
                       int32_t line_count);

  // Number of counted lines that use the name.
  int32_t lines_using(int32_t name) const { return counts_[name]; }
  bool counts_line(int32_t line) const {
    const auto l = static_cast<uint32_t>(line);
    return (counted_[l >> 6] >> (l & 63) & 1) != 0;
  }
  // Whether the line is counted and uses the name, in the list of uses
  // (a header's use apart is not looked at).
  bool line_uses(int32_t line, int32_t name);
  // The headers' list was thinned out, in line order still.
  void headers_moved() { headers_from_ = {}; }
  // Lines first..last are blanked: their uses stop counting. Lines already
  // forgotten stay as they are.
  void forget_lines(int32_t first, int32_t last);

  // From now on, every use that forget_lines takes out of the counts is
  // also appended to *sink (line, name), for the run's records.
  void note_forgotten_uses(std::vector<std::pair<int32_t, int32_t>>* sink) { forgotten_ = sink; }
  // Every use found by the count, in line order, but the uses apart (a
  // header's of its own name alone); lines blanked since are among them.
  std::span<const use> uses() const { return uses_; }
  // Calls on_use(line, name) for every use on a line still counted, in
  // line order.
  template <class F>
  void for_each_counted_use(F&& on_use) const {
    // The uses apart join the list's in line order; their lines hold no other.
    const std::vector<function_header>& headers = *headers_;
    size_t h = 0;
    auto headers_before = [&](int32_t line) {
      for (; h < headers.size() && headers[h].line < line; ++h) {
        if (headers[h].own_use_apart && counts_line(headers[h].line)) {
          on_use(headers[h].line, static_cast<int32_t>(headers[h].name));
        }
      }
    };
    for (const use& u : uses_) {
      headers_before(u.line);
      if (counts_line(u.line)) on_use(u.line, u.name);
    }
    headers_before(INT32_MAX);
  }

 private:
  // What the count of some lines finds, on one thread: the uses, and what
  // the line being read did with each name it met.
  struct count_part;
  // The tables that find the names in a line, needed only while counting.
  struct finders;
  // Counts lines [first, last) into `part`.
  void count_lines(const finders& find, const normalized_lines& transformed_lines, size_t first,
                   size_t last, count_part& part) const;
  // Notes every name that line `line` (text) uses in `part`; once for each,
  // as the line is the last it was found on.
  void note_names_used(const finders& find, int32_t line, std::string_view text,
                       count_part& part) const;
  // Where a galloping search last began, and for which line.
  struct search_from {
    size_t begin = 0;
    int32_t line = 0;
  };
  // The first use on the line or a later one, an index into uses_.
  size_t first_use_from(int32_t line);
  // The first header on the line or a later one, an index into *headers_.
  size_t first_header_from(int32_t line);
  // The uses of the line: a range of uses_.
  std::pair<const use*, const use*> uses_of(int32_t line);

  // A bit per line, set while it is counted (the deletions ask for it line
  // by line as they walk).
  std::vector<uint64_t> counted_;
  std::vector<std::pair<int32_t, int32_t>>* forgotten_ = nullptr;
  // Per name: the counted lines that use it.
  std::vector<int32_t> counts_;
  // Every use found by the count, sorted by line.
  std::vector<use> uses_;
  // Where the last look-ups began: lines are mostly looked up in rising
  // order, one after the other, so the next search starts there.
  search_from uses_from_;
  std::vector<function_header>* headers_;
  search_from headers_from_;
};
