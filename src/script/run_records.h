// What a run notes so that its output can be traced back: the slot of each
// output line and a record per source file, function and variable.

// What a run notes so that its output can be traced back (--map, --analyze,
// --metafile): the slot each output line had before the blank lines went,
// and a record per source file, per function and per variable. A record
// holds slots, not places: the script's origins turn a slot into a file and
// line when the records are shown. Nothing is noted unless asked for: the
// passes test a flag, so a run without these options does no work for them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/names_at_run_time.h"

class run_records {
 public:
  // Note the slot of each output line (--map, --analyze, --metafile).
  bool output_lines_on = false;
  // Note files and functions, kept or deleted (--analyze, --metafile).
  bool names_on = false;
  // Note also what keeps each function, the mentions deletions took away,
  // and every variable (--metafile).
  bool reasons_on = false;

  // Output line k (from 1) stood in slot output_slots[k - 1] before the
  // blank lines were dropped.
  std::vector<int32_t> output_slots;

  // A directive that named a file: its place as an origin file and line.
  struct directive {
    uint32_t file = 0;
    int64_t line = 0;
  };
  // Per origin file number: the directives that named it (the one that
  // spliced it first, then those that found it spliced already), its size
  // in the expanded script (an included file's text is followed by one
  // empty line, counted with it) and in the output.
  struct source_file {
    std::vector<directive> included_by;
    int64_t expanded_lines = 0;
    int64_t expanded_bytes = 0;
    int64_t output_lines = 0;
    int64_t output_bytes = 0;
  };
  std::vector<source_file> files;
  // The path each included file was opened by, to its origin file number.
  std::unordered_map<std::string, uint32_t> file_by_path;

  enum class state : uint8_t {
    kept,
    deleted,  // the unused-function pass deleted it
    erased,   // blanked with a function before it that has no EndFunc
  };
  // One per function header the unused-function pass found, in line order.
  struct function_record {
    // The header line as it stood when found (the line table keeps the text).
    std::string_view header;
    int32_t slot = 0;
    // Its normalized name's number among the pass's names: equal names share one.
    int32_t name = 0;
    state status = state::kept;
    // Deleted or erased: in which run; erased: with which function (a record).
    int32_t run = 0;
    int32_t erased_with = -1;
    // Deleted: how many lost mentions were noted before its deletion (those
    // of its name among them left it unnamed).
    size_t lost_before = 0;
    // Deleted by tree shaking: not reached from top-level code or a keep
    // entry. The lost mentions of its name then are every line of a body
    // not reached that names it, each with that body's function.
    bool unreached = false;
    // Kept: what keeps it. A keep entry (an index into keep_entries), or a
    // line that names it (keeper_slot) in the function keeper_function (a
    // record; -1 for top-level code). `rooted`: following keeper_function
    // from here ends at top-level code or a keep entry, not in a circle of
    // functions that only name each other. No keep entry and no keeper
    // line: nothing names it any more, and no run was left to delete it.
    int32_t keep_entry = -1;
    int32_t keeper_slot = 0;
    int32_t keeper_function = -1;
    bool rooted = false;
    // The keeper line's normalized text (the normalized copy keeps it, and
    // slots move when the blank lines go): whether it names the function
    // in a string, a call or a bare word can be read from it.
    std::string_view keeper_text;
  };
  std::vector<function_record> functions;

  // A line that named a function and was blanked when another function was
  // deleted: the named function's name number, the line, and the deleted
  // function (a record). In order of deletion.
  struct lost_mention {
    int32_t name = 0;
    int32_t slot = 0;
    int32_t deleted_with = -1;
  };
  std::vector<lost_mention> lost_mentions;

  // One per variable the unused-variable pass found, in number order.
  struct variable_record {
    std::string name;  // normalized, as the pass lists it ("$G_HMAIN")
    int32_t slot = 0;  // its declaration line
    bool deleted = false;
    // The first line other than its declaration that mentioned the name
    // when the pass began (0: none), and the keep entry that kept it (-1: none).
    int32_t first_mention = 0;
    int32_t keep_entry = -1;
    // Nothing else mentions it, but its declaration calls a function, which
    // cutting it would take away.
    bool kept_by_call = false;
    // Nothing else mentions it, but what stays of its declaration reads it
    // (Local $w = 3, $area = $w * 2).
    bool kept_by_own_line = false;
  };
  std::vector<variable_record> variables;

  // Set by the renaming pass: the names it renamed, functions first, each
  // kind in the order the output first mentions them.
  class renamed_name {
   public:
    renamed_name(bool function, std::string_view from, std::string_view to)
        : from_(from), to_size_(static_cast<uint8_t>(to.size())), function_(function) {
      to.copy(to_, sizeof to_);
    }
    bool function() const { return function_; }
    // As first written, without "$" (the line table keeps the text).
    std::string_view from() const { return from_; }
    // Likewise; a new name is short.
    std::string_view to() const { return std::string_view(to_, to_size_); }

   private:
    std::string_view from_;
    char to_[6] = {};
    uint8_t to_size_;
    bool function_;
  };
  // Set by the renaming pass; the list only when --analyze, --metafile or
  // --why asks for names.
  bool renames_on = false;
  std::vector<renamed_name> renamed;
};

// A function's name as its header writes it: the text after "Func" up to
// "(", without the blanks around it.
std::string_view written_function_name(std::string_view header);
