// The keep-list: names the user marks as used, from --keep=LIST and from
// "; au3shrink: keep LIST" lines. Functions and variables it matches are
// never deleted, whatever the usage test says.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/names_at_run_time.h"

// Splits `list` at commas into entries: blanks and tabs removed, a-z
// upper-cased, empty ones dropped. Each goes to `entries` with the place
// given; `file` must outlive the entries (they hold a view of it).
void add_keep_entries(std::string_view list, std::string_view file, int64_t line,
                      std::vector<keep_entry>& entries);

// Whether `line` is a keep pragma: ";", "au3shrink", ":", "keep" in any case,
// blanks and tabs allowed around each, at least one after "keep". *list is
// then the rest of the line.
bool is_keep_pragma(std::string_view line, std::string_view* list);

// The entries of one kind, as a trie over their names, so that matching
// costs at most a walk along the name. An entry names a function, or with a
// leading "$" a variable; with a final "*" it matches every name that begins
// with the rest ("*" every function, "$*" every variable).
class keep_list {
 public:
  enum class kind { functions, variables };
  keep_list(const std::vector<keep_entry>& entries, kind which);

  // Whether an entry matches the name as the pass records it; every entry
  // that does is marked as matched.
  bool keeps(std::string_view name);
  // One warning for every entry that matched no name.
  void warn_unmatched(std::vector<run_warning>& warnings) const;

 private:
  struct node {
    int32_t exact = -1;   // the entry that spells this name, if any
    int32_t prefix = -1;  // the entry that is this name followed by "*"
  };
  int32_t child(int32_t node, char byte) const;
  void mark(int32_t entry, bool* kept);

  kind kind_;
  std::vector<const keep_entry*> entries_;
  std::vector<bool> matched_;
  std::vector<node> nodes_;
  // (node << 8) | byte -> the child node.
  std::unordered_map<uint64_t, int32_t> edges_;
};
