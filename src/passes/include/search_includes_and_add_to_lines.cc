// Include expansion: every #include directive is replaced by the lines of the
// file it names, nested includes too, each file once. A directive inside a
// comment block is a line of the block and stays as it is: the scan follows
// the blocks by the comment pass's own rule, over the expanded script in its
// order, so a block left open by an included file runs on after it.
//
// Splicing a file into the table in place would copy everything after the
// directive once per include. Instead the expanded script is built front to
// back in one table, which the lines before the first included file start:
// the files being read form an explicit stack (deep nesting cannot exhaust
// the call stack), and a file's lines go out where its directive stood,
// followed by one empty line. Lines come out in the order the scan meets
// them, so the console lines and the include list come out in the same order
// as well.
#include <algorithm>
#include <cstddef>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "passes/include/include_directive.h"
#include "passes/include/include_file_reader.h"
#include "platform/include_path.h"
#include "report/console.h"
#include "report/diagnostics.h"
#include "script/autoitsourcefile.h"
#include "script/comment_blocks.h"
#include "script/normalize.h"

namespace {

// Lines of one file (or of the script itself) still to be scanned.
// The expanded script, written over the table that holds the main script,
// whose lines are read from it ahead of the writing. The included files
// only add lines, so the writing never passes the reading; a line of the
// main script about to be written over before it is read waits in a queue,
// which holds as many lines as the included files have added so far. The
// main script's lines are never copied whole.
class expansion {
 public:
  expansion(line_table& table, size_t first)
      : table_(table), out_(first), next_(first), end_(table.size()) {}

  // Lines written so far.
  size_t size() const { return out_; }
  bool main_read() const { return next_ == end_; }
  std::string_view next_main_line() {
    std::string_view line;
    if (waiting_.empty()) {
      line = table_[next_];
    } else {
      line = waiting_.front();
      waiting_.pop_front();
    }
    ++next_;
    return line;
  }
  void put(std::string_view line) {
    if (out_ >= end_) {
      table_.push_kept(line);
    } else {
      if (out_ >= next_) waiting_.push_back(table_[out_]);
      table_.put_kept(out_, line);
    }
    ++out_;
  }
  // The table holds the lines written and nothing more.
  void finish() {
    if (out_ < table_.size()) table_.resize(out_);
  }

 private:
  line_table& table_;
  size_t out_;   // the next line written
  size_t next_;  // the next line of the main script read
  size_t end_;   // the end of the main script
  // The main script's lines [next_, out_), when out_ has passed next_.
  std::deque<std::string_view> waiting_;
};

struct open_file {
  // Views of text that the expanded table keeps; none for the main script,
  // which the expansion reads.
  std::vector<std::string_view> lines;
  bool main = false;
  // Taken up by an angle-bracket directive, or by a file that was: a
  // library's, not the user's own.
  bool library = false;
  size_t next = 0;
  // Its number in the script's origins, and the line number of lines[0].
  uint32_t origin = 0;
  int64_t first_line = 1;
  // The folder its own quoted and angle names are also looked for in.
  std::string folder;
};

void warn_unopenable(const line_origin& where, const include_directive& directive,
                     const std::string& path, const include_places& places) {
  std::string text = "cannot open include file '" + directive.shown_name + "' (looked for '" +
                     platform::shown_path(path) + "'";
  // The other folders searched, each once.
  const std::string_view searched[] = {places.folder, places.beside, places.other_folder};
  const char* joint = ", also in '";
  for (size_t i = 1; i < std::size(searched); ++i) {
    if (std::find(searched, searched + i, searched[i]) != searched + i) continue;
    text += joint;
    text += platform::shown_path(searched[i]);
    text += "'";
    joint = ", '";
  }
  text += ")";
  diagnostics::warning_at(where.file, where.line, text, "include-missing");
}

// The directive that `line`, whose first byte that is not blank is `lead`,
// stands for, and the comment blocks followed over it, as the comment pass
// will find them in the expanded script. A line of a block is no directive:
// it stays as it is and goes with the block.
include_directive directive_outside_blocks(std::string_view line, char lead,
                                           comment_blocks::walker& blocks) {
  // Directives and block markers are the first text of their line, and
  // a line of a block that is neither leaves the blocks as they are.
  if (lead != '#') return {};
  const comment_blocks::marker marker =
      comment_blocks::marker_at(line, line.find_first_not_of(" \t"));
  if (blocks.in_block(marker)) return {};
  return parse_include_directive(line);
}

void print_found(const include_directive& directive) {
  console::out("found #include: ");
  console::out(directive.name);
  console::out("\n");
}

void print_already(const std::string& path) {
  console::out(path);
  console::out(" file already includet\n");
}

}  // namespace

bool autoitsourcefile::search_includes_and_add_to_lines(const char* angle_include_dir,
                                                        const char* quoted_include_dir,
                                                        std::string* err) {
  includes_timer.start();
  include_count = 0;
  included_files.resize(1);
  // Built paths whose file could not be found: named again, they are
  // reported as already taken up, so a missing file is warned about once.
  std::unordered_set<std::string> missing;
  include_file_reader reader;
  // For the metafile: the directive in `slot` named the file opened by `path`.
  auto note_directive = [&](size_t slot, const std::string& path) {
    auto number = records.file_by_path.find(path);
    run_records::directive place;
    if (number == records.file_by_path.end() || !origins.locate(slot, &place.file, &place.line)) {
      return;
    }
    if (records.files.size() <= number->second) records.files.resize(number->second + 1);
    records.files[number->second].included_by.push_back(place);
  };

  // Lines before the first directive that names a file stay where they are,
  // so a script that includes no file is not copied at all.
  const size_t end = static_cast<size_t>(line_count) + 1;
  lines.resize(end);
  size_t first_file = 1;
  // The walk sees every line of the expanded script before anything changes
  // it, and notes the comment lines on the way.
  comment_lines.clear();
  comment_blocks::walker blocks;
  for (; first_file < end; ++first_file) {
    const char lead = lead_byte(lines[first_file]);
    if (lead == ';') comment_lines.push_back(static_cast<int32_t>(first_file));
    include_kind kind =
        directive_outside_blocks(lines[first_file], lead, blocks).kind;
    if (kind == include_kind::file) break;
    // Every recognised directive line stays behind as an empty line.
    if (kind == include_kind::once) lines.clear(first_file);
  }
  if (first_file == end) {
    includes_timer.stop();
    return true;
  }

  // The rest of the script becomes the bottom of the stack, read from the
  // table the expansion writes, after the lines kept in place.
  std::vector<open_file> stack(1);
  stack[0].main = true;
  stack[0].origin = 0;
  stack[0].first_line = origins.of(first_file).line;
  stack[0].folder = platform::folder_of(source_path);
  expansion expanded(lines, first_file);

  while (!stack.empty()) {
    open_file& current = stack.back();
    if (current.main ? expanded.main_read() : current.next == current.lines.size()) {
      stack.pop_back();
      if (stack.empty()) break;
      // One empty line follows the text of every included file.
      expanded.put({});
      const open_file& parent = stack.back();
      origins.start_run(expanded.size(), parent.origin,
                        parent.first_line + static_cast<int64_t>(parent.next));
      continue;
    }
    std::string_view line = current.main ? expanded.next_main_line() : current.lines[current.next];
    ++current.next;
    const char lead = lead_byte(line);
    if (lead == ';') comment_lines.push_back(static_cast<int32_t>(expanded.size()));
    include_directive directive = directive_outside_blocks(line, lead, blocks);
    if (directive.kind == include_kind::none) {
      expanded.put(line);
      continue;
    }
    // Every recognised directive line stays behind as an empty line.
    expanded.put({});
    if (directive.kind == include_kind::once) continue;

    print_found(directive);
    const char* folder = directive.angle ? angle_include_dir : quoted_include_dir;
    std::string path = folder;
    path += '\\';
    path += directive.name;
    if (missing.contains(path)) {
      print_already(path);
      continue;
    }
    const include_places places{folder, directive.angle ? quoted_include_dir : angle_include_dir,
                                current.folder};
    open_file included;
    std::string opened;
    std::string invalid;
    std::string_view text;
    include_lookup found = reader.take(places, directive, path, lines, included.lines, &text,
                                       &opened, &invalid);
    if (found == include_lookup::invalid) {
      const line_origin& where = origins.of(expanded.size() - 1);
      *err = std::string(where.file) + ":" + std::to_string(where.line) +
             ": cannot read include file '" + opened + "': " + invalid;
      // The table holds what was expanded so far; the run ends here.
      expanded.finish();
      line_count = static_cast<int32_t>(lines.size() - 1);
      includes_timer.stop();
      return false;
    }
    if (found == include_lookup::already) {
      if (records.names_on) note_directive(expanded.size() - 1, opened);
      print_already(path);
      continue;
    }
    ++include_count;
    included_files.push_back(path);
    console::out("start: search/read: ");
    console::out(path);
    console::out("...\n");
    if (found == include_lookup::missing) {
      warn_unopenable(origins.of(expanded.size() - 1), directive, path, places);
      missing.insert(path);
    } else {
      included.origin = origins.add_file(opened);
      included.library = directive.angle || current.library;
      if (included.library) {
        library_files.resize(std::max<size_t>(library_files.size(), included.origin + 1), 0);
        library_files[included.origin] = 1;
      }
      included.folder = platform::folder_of(opened);
      origins.start_run(expanded.size(), included.origin, 1);
      if (records.names_on) {
        records.file_by_path.emplace(opened, included.origin);
        note_directive(expanded.size() - 1, opened);
      }
    }
    console::out("finished: read ");
    console::out(directive.name);
    console::out("\n");
    // `current` is not used past this point: the push may move it.
    stack.push_back(std::move(included));
  }

  expanded.finish();
  line_count = static_cast<int32_t>(lines.size() - 1);
  // The text of a UTF-16 file is UTF-8 now, and the output says so.
  if (reader.read_utf16()) utf8_mark = true;
  includes_timer.stop();
  return true;
}
