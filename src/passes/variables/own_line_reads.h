// Whether what stays of a shared declaration still reads a variable it
// declares: in `Local $w = 3, $h = 4, $area = $w * $h` the items of $w and
// $h cannot go while $area's initial value reads them, even when no other
// line mentions them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "passes/variables/variable_scan.h"

class autoitsourcefile;

class own_line_reads {
 public:
  own_line_reads(const autoitsourcefile& script, const variable_table& table);

  // Whether the items of k's declaration line other than k's own, as the
  // cuts so far leave them, mention k's name as a whole name ("$base" not
  // followed by a letter, digit or "_"). A variable alone on its line is
  // never read this way. Asked in number order.
  bool read_by_rest(int32_t k);

  // Variable k, which shares its line, is cut from it.
  void cut(int32_t k);

 private:
  // A name read by an item: where it stands in the line's normalized text.
  struct read {
    uint32_t item;
    uint32_t at;
    uint32_t size;
  };
  std::string_view name_of(const read& r) const { return text_.substr(r.at, r.size); }
  // Takes the reads of k's line, unless they are the line's already.
  void take_line_of(int32_t k);
  // The reads of item `item`: a range of reads_.
  std::pair<size_t, size_t> reads_of(uint32_t item) const;
  // Where the reads of `name` begin in by_name_; by_name_.size() when none.
  size_t group_of(std::string_view name) const;

  const autoitsourcefile& script_;
  const variable_table& table_;
  int32_t line_ = -1;
  int32_t first_ = 0;  // the line's first variable
  std::string_view text_;
  // The names its items read, outside the names they declare, item by item;
  // the same sorted by name; and at the first of each name's run there, how
  // many of them stand in items not cut. Sorted runs rather than a hash
  // table: a line may declare a million variables.
  std::vector<read> reads_;
  std::vector<uint32_t> by_name_;
  std::vector<uint32_t> standing_;
};
