// The keep-list: names never deleted, from --keep=LIST, from the script's keep
// pragmas, and from the names it visibly builds at run time.

// The keep-list: names the user marks as used, from --keep=LIST and from
// "; au3shrink: keep LIST" lines, and the names the script visibly builds
// at run time. Functions and variables it matches are never deleted,
// whatever the usage test says.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "script/names_at_run_time.h"

// Splits `list` at commas into entries: blanks and tabs removed, a-z
// upper-cased, empty ones dropped. Each goes to `entries` with the place
// given (nullptr for the command line); the entries' text is kept once for
// the whole list in `texts`, and `place` must outlive the entries.
void add_keep_entries(std::string_view list, const keep_place* place,
                      std::vector<keep_entry>& entries, std::deque<std::string>& texts);

// Whether `line` is a keep pragma: ";", "au3shrink", ":", "keep" in any case,
// blanks and tabs allowed around each, at least one after "keep". *list is
// then the rest of the line.
bool is_keep_pragma(std::string_view line, std::string_view* list);
// The same for "; au3shrink: no-warn KINDS", the kinds of warnings the
// user does not want to see.
bool is_no_warn_pragma(std::string_view line, std::string_view* list);

// Whether `line` is ";", "au3shrink", ":", "tree-shaking" in any case,
// blanks and tabs allowed around each, nothing else but blanks and tabs.
bool is_tree_shaking_pragma(std::string_view line);

// Whether `line` is ";", "au3shrink", ":" and `upper_word` in any case
// (blanks and tabs allowed around each) and nothing more: a switch such as
// "; au3shrink: minify".
bool is_switch_pragma(std::string_view line, std::string_view upper_word);

// The entries of one kind. An entry names a function, or with a leading "$"
// a variable; a "*" anywhere in it stands for any run of bytes, none too
// ("*" keeps every function, "$*" every variable, "ON*CLICK*" ...).
//
// An entry is split at its stars into a first piece P, a last piece S and
// the pieces between, the longest of which is its key K. The entries with a
// star lie sorted by (P, S, K), so that those alike lie together, and three
// hash tables find the first of a run by P, by (P, S) and by (P, S, K): a
// name looks up each of its starts as a P, each of its ends as an S after a
// P found, and, only where entries of that (P, S) have pieces between, each
// of its inner parts as a K. A name meets only the entries whose ends it
// matches, whatever their number, and the list costs a few words an entry:
// the entries' text stays where add_keep_entries put it.
class keep_list {
 public:
  enum class kind { functions, variables };
  keep_list(const std::vector<keep_entry>& entries, kind which);

  // The entry that keeps the name as the pass records it, nullptr when none.
  // Every entry that matches is marked as matched; one the user wrote
  // answers before one the script's built names gave, and among those the
  // first in the order given.
  const keep_entry* keeps(std::string_view name);
  // Whether no entry is of the list's kind: then keeps() answers nullptr.
  bool empty() const { return empty_; }
  // One warning for every entry the user wrote that matched no name.
  void warn_unmatched(std::vector<run_warning>& warnings) const;

 private:
  // Positions in a sorted list by the hash of their key; a position is
  // found by a hash and a test of its key.
  class position_table {
   public:
    // Room for `keys` keys, each a position below `positions`.
    void reserve(size_t keys, size_t positions);
    template <class Same>
    int64_t find(uint64_t hash, Same&& same) const;
    // Adds the position unless one with the same key is there already.
    template <class Same>
    void add(uint64_t hash, uint32_t position, Same&& same);

   private:
    size_t slot_of(uint64_t hash) const;
    uint32_t tag_of(uint64_t hash) const;
    uint32_t position_mask() const {
      return position_bits_ >= 32 ? UINT32_MAX : (uint32_t{1} << position_bits_) - 1;
    }
    std::vector<uint32_t> slots_;  // tag | position + 1; 0 for none
    int shift_ = 63;
    int position_bits_ = 32;
  };
  // An entry with a star, split; views of its text.
  struct split {
    std::string_view first;
    std::string_view last;
    std::string_view key;     // the longest piece between, or empty
    std::string_view middle;  // from after the first star to the last one
  };
  std::string_view text_of(uint32_t entry) const;
  split split_of(uint32_t entry) const;
  static bool middle_fits(std::string_view middle, std::string_view inner);
  void mark(uint32_t entry, int64_t& found);

  const std::vector<keep_entry>& all_;
  // The entries without a star, by their text; those with one, sorted by
  // (P, S, K, text, order): numbers in all_.
  std::vector<uint32_t> exact_;
  position_table exact_table_;
  std::vector<uint32_t> stars_;
  position_table by_first_;
  position_table by_ends_;
  position_table by_key_;
  // Per entry of all_: matched by a name (entries of the other kind and
  // repeats stay false and are never warned about).
  std::vector<bool> matched_;
  std::vector<bool> listed_;
  kind kind_;
  bool empty_ = true;
};
