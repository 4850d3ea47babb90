// The keep-list: names never deleted, from --keep=LIST, from the script's keep
// pragmas, and from the names it visibly builds at run time.

// The keep-list: names the user marks as used, from --keep=LIST and from
// "; au3shrink: keep LIST" lines, and the names the script visibly builds
// at run time. Functions and variables it matches are never deleted,
// whatever the usage test says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "names/piece_finder.h"
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
// An entry is split at its stars into a first piece, a last piece and the
// pieces between. The first pieces form a trie walked along the name, the
// last ones a trie walked backwards from its end; the entries hang on the
// pairs of nodes the two walks reach, so a name meets only the entries
// whose both ends it matches, whatever their number. An entry with pieces
// between hangs there under its longest such piece, and a name meets it
// only where that piece occurs in it: one pass finds every such piece in
// the name, so that many entries alike at both ends ("A*1*", "A*2*", ...)
// are not each tried on every name.
class keep_list {
 public:
  enum class kind { functions, variables };
  keep_list(const std::vector<keep_entry>& entries, kind which);

  // The entry that keeps the name as the pass records it, nullptr when none.
  // Every entry that matches is marked as matched; one the user wrote
  // answers before one the script's built names gave, and among those the
  // first in the order given.
  const keep_entry* keeps(std::string_view name);
  // One warning for every entry the user wrote that matched no name.
  void warn_unmatched(std::vector<run_warning>& warnings) const;

 private:
  class trie {
   public:
    trie() : flags_(1, 0) {}
    // The node reached by `text`, added as needed.
    int32_t add(std::string_view text, bool backwards);
    int32_t child(int32_t node, char byte) const;
    void flag(int32_t node) { flags_[static_cast<size_t>(node)] = 1; }
    bool flagged(int32_t node) const { return flags_[static_cast<size_t>(node)] != 0; }

   private:
    std::vector<char> flags_;  // per node: an entry's piece ends here
    // (node << 8) | byte -> the child node.
    std::unordered_map<uint64_t, int32_t> edges_;
  };
  struct pattern {
    int32_t entry;
    std::vector<std::string> middle;  // the pieces between the first and last star
    size_t least_length;              // the bytes of all pieces together
  };
  struct reached {
    int32_t node;
    size_t depth;
  };
  // Every node a walk passes that ends a piece, with its depth.
  void walk(const trie& t, std::string_view name, bool backwards, std::vector<reached>& out) const;
  static bool middle_fits(const pattern& p, std::string_view inner);

  kind kind_;
  std::vector<const keep_entry*> entries_;
  std::vector<bool> matched_;
  trie firsts_;
  trie lasts_;
  // Exact entries by the first-trie node that spells them.
  std::unordered_map<int32_t, int32_t> exact_;
  // (first node << 32) | last node -> the entries with a star and no pieces
  // between.
  std::unordered_map<uint64_t, std::vector<pattern>> patterns_;
  // The entries with pieces between: their longest pieces, and by the pair
  // of nodes, then the longest piece's number, the entries.
  piece_finder key_pieces_;
  std::unordered_map<uint64_t, std::unordered_map<int32_t, std::vector<pattern>>> keyed_;
  std::vector<reached> firsts_reached_;
  std::vector<reached> lasts_reached_;
  // The places in the name where a longest piece occurs, and per piece the
  // last pair that tried its entries.
  std::vector<std::pair<int32_t, size_t>> key_places_;
  static constexpr uint64_t kNotTried = UINT64_MAX;
  std::vector<uint64_t> tried_at_;
};
