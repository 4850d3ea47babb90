// What the dead-code passes share about names a script may reach only at run
// time: the keep-list, the names they deleted, and the warnings they leave
// for the user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "script/packed_view.h"

// Where keep entries came from: the pragma's file and line, or, for an
// entry the script's own built names gave (`built`), the line that builds
// the name and the pattern as written there ("Get*BackgroundMode"). The
// file is the name the script's line origins keep; every view stays put
// for the run.
struct keep_place {
  std::string_view file;
  int64_t line = 0;
  std::string_view written;
  bool built = false;
};

// One keep-list entry, normalized ("_ON_*", "$G_HMAIN"): a view of the
// normalized text of its whole list, and the place its list came from,
// shared by every entry of the list (none for the command line). A list of
// a million entries costs a few words an entry, not a string each.
struct keep_entry {
  std::string_view text;
  const keep_place* place = nullptr;

  bool built() const { return place != nullptr && place->built; }

  std::string_view file() const { return place == nullptr ? std::string_view() : place->file; }
  int64_t line() const { return place == nullptr ? 0 : place->line; }
  std::string_view written() const {
    return place == nullptr ? std::string_view() : place->written;
  }
};

// A function or variable a dead-code pass deleted: its name as the pass
// records it, and its header or declaration line as it stood before the
// deletion. Both are views: the name of the normalized copy (or of text the
// line table keeps), the line of the line table; their text stays in place
// for the whole run.
struct deleted_name {
  std::string_view name;
  std::string_view line;
  int32_t slot = 0;  // that line's number in the table
  // No line of the script but its own header named it, not even a line
  // deleted with it: a function reached only by a name held at run time.
  bool unnamed = false;
};

// The variables the variable pass deleted, each read back as a deleted_name.
// A line's view is held once for all the names deleted from it, together in
// number order: a line declaring a million unused variables costs a name
// view each, not a line view too.
class deleted_variables {
 public:
  size_t size() const { return names_.size(); }
  bool empty() const { return names_.size() == 0; }
  deleted_name operator[](size_t i) const {
    const line_view& line = lines_[name_lines_[i]];
    return {names_[i], line.text, line.slot};
  }
  void reserve(size_t n) {
    names_.reserve(n);
    name_lines_.reserve(n);
  }
  void push_back(const deleted_name& name) {
    if (lines_.empty() || lines_.back().slot != name.slot ||
        lines_.back().text.data() != name.line.data() ||
        lines_.back().text.size() != name.line.size()) {
      add_line(name.line, name.slot);
    }
    push_back_on_line(name.name, lines_.size() - 1);
  }

  // The lines may come first, the names later: a pass that must note each
  // line before cutting it, but lists the names only once its other tables
  // are gone. Room for `n` lines more.
  void reserve_lines(size_t n) { lines_.reserve(lines_.size() + n); }
  // Adds a line for names to come; returns its number.
  size_t add_line(std::string_view text, int32_t slot) {
    lines_.push_back({text, slot});
    return lines_.size() - 1;
  }
  // Appends a name deleted from line number `line`.
  void push_back_on_line(std::string_view name, size_t line) {
    names_.push_back(name);
    name_lines_.push_back(static_cast<uint32_t>(line));
  }
  size_t line_count() const { return lines_.size(); }

 private:
  struct line_view {
    std::string_view text;
    int32_t slot;
  };
  // Name i, and its line's number in lines_ (lines are fewer than names).
  packed_views names_;
  std::vector<uint32_t> name_lines_;
  std::vector<line_view> lines_;
};

// A warning held back until the run's report is printed; no file when there
// is no place to point at. The file is a view of the name the script's line
// origins keep (as line_origin and keep_entry hold it), so that thousands of
// warnings about one file cost no copy of its path each. A temporary string
// would leave the view dangling: it does not compile. `kind` is the
// warning's kind as its tag shows it (a literal; none for a note), and
// `more` every place it stands for, each with its text, when they are many.
struct run_place {
  std::string_view file;
  int64_t line = 0;
  std::string text;
};
struct run_warning {
  run_warning(std::string_view file, int64_t line, std::string text, std::string_view kind = {})
      : file(file), line(line), text(std::move(text)), kind(kind) {}
  template <class Temporary>
    requires std::is_same_v<Temporary, std::string>
  run_warning(Temporary&& file, int64_t line, std::string text, std::string_view kind = {}) = delete;

  std::string_view file;
  int64_t line = 0;
  std::string text;
  std::string_view kind;
  std::vector<run_place> more;
};

// What a call does with the argument a chain stands in.
enum class name_role {
  none,       // nothing known: a chain there only builds text
  function,   // calls or registers the function of that name
  variable,   // reads or sets the variable of that name (Eval, Assign, IsDeclared)
};

// A chain: its first piece, a literal P (doubled quotes undone) or a
// variable that may stand for one, and the pattern P*S it can name.
struct name_chain {
  std::string prefix;         // P; empty while `head_variable` stands for it
  std::string head_variable;  // "$NAME" upper-cased, when the chain begins with a variable
  std::string suffix;         // S
  bool whole = false;         // literals only, joined into one whole name: no "*"
  bool object_event = false;  // ObjEvent's prefix: its events are appended
  name_role role = name_role::none;
  std::string shown;  // as the messages show it: ("_On_" & ...), Call("Cb" & ...)
};

// A chain found on line `slot` of the table; `kept` once the keep-list
// holds its pattern.
struct located_chain {
  int32_t slot = 0;
  name_chain chain;
  bool kept = false;
};

// A naming call whose name no string shows, as the warning shows it.
struct located_held_name {
  int32_t slot = 0;
  std::string shown;
  name_role role = name_role::function;
};

// A name that only an entry of a built name kept: the entry's index in the
// keep entries, and the name as a deletion would have recorded it.
struct kept_name {
  int32_t entry = 0;
  deleted_name name;
};
