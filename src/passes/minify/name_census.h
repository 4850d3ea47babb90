// What the renamer learns of a script's names before it renames any.

// Every $name and bare word with its count and first place, the words that
// any string or directive shows, the functions the script declares, and what
// stops a name from being renamed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "passes/minify/mention_list.h"
#include "passes/minify/name_index.h"

namespace minify {

// Why a name keeps its name; `none` while nothing stops it.
enum class kept_as_written : uint8_t {
  none,
  not_own,         // a keyword, built-in, AutoIt's own variable, or no Func of the script
  in_string,       // a string or directive of the output shows it as a word
  keep_entry,      // the keep-list keeps it
  built_name,      // the script may build its name at run time
  held_function,   // a call takes a function's name that no string shows
  held_variable,   // a call there takes a variable's name that no string shows
};

// One name; its text is its index's key of the same number.
struct name_info {
  int32_t first_slot = 0;
  uint32_t count = 0;
  int32_t kept_by = -1;  // the keep entry that kept it
  // Its name_index hash: later look-ups of the name need not read its text,
  // which lies far apart in the script.
  uint32_t hash = 0;
  // The new name (with "$" for a variable) in the census's pool; none while
  // new_size is 0.
  uint32_t new_at = 0;
  uint8_t new_size = 0;
  bool global = false;    // variables: used outside every function, or declared Global
  bool declared = false;  // words: a Func header of the script declares it
  kept_as_written kept = kept_as_written::none;
};

// A call that takes a name that no string shows, and where it stands.
struct held_call {
  int32_t slot = 0;
  std::string shown;
  int32_t function = -1;  // the function around it (an index into functions); -1: none
};

struct census {
  name_index variable_index;  // name without "$" -> variables
  std::vector<name_info> variables;
  name_index word_index;  // bare words that are no member
  std::vector<name_info> words;
  name_index string_words;  // words of strings and directive lines
  // The lines of each function, header to EndFunc.
  struct function_lines {
    int32_t first = 0;
    int32_t last = 0;
  };
  std::vector<function_lines> functions;
  std::vector<held_call> held_functions;
  std::vector<held_call> held_variables;
  // The name patterns the script builds (P*S, upper case, "$" first for a
  // variable's), each with its line and as the chain is shown.
  struct built {
    std::string pattern;
    int32_t slot = 0;
    std::string shown;
  };
  std::vector<built> built_names;
  // The new names, one after another.
  std::string new_names;
  // Each mention of a name in the code, in line order, as its number in
  // variable_index or word_index: the rewrite takes them in turn rather than
  // looking every name up again. One list for each half of the walk, the
  // second beginning at line second_half (the end, when the walk was not
  // split); the second half's lists hold its own numbers, which
  // second_variable_ids and second_word_ids turn into the census's.
  struct mentions {
    mention_list variables;
    mention_list words;
  };
  std::array<mentions, 2> halves;
  size_t second_half = 0;
  std::vector<uint32_t> second_variable_ids;
  std::vector<uint32_t> second_word_ids;

  std::string_view new_name(const name_info& n) const {
    return std::string_view(new_names).substr(n.new_at, n.new_size);
  }
};

}  // namespace minify

class line_table;

namespace minify {

// Walks lines 1..line_count once (comment blocks may still stand when
// blocks_possible) and counts and marks every name.
census take_census(const line_table& lines, int32_t line_count, bool blocks_possible);

}  // namespace minify
