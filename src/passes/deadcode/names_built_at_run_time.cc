// Warnings for names a script builds at run time from a string literal, such
// as Call("_On_" & $event) or ObjEvent($o, "IE_"), when the dead-code passes
// deleted functions or variables whose names begin with that literal. Only
// a literal that begins a deleted name counts, so common string building
// ("Error: " & $x) stays silent.
//
// Each line is walked once for its literals; a literal is looked up as a
// prefix range in the sorted deleted names.
#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "passes/deadcode/variable_cut.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"
#include "script/two_threads.h"

namespace {

// The call a literal stands in, as far as naming goes.
enum class callee { other, obj_event, variable_by_name };

struct open_call {
  callee kind = callee::other;
  std::string_view written;  // the function's name as written
  int32_t argument = 0;      // which argument the walk is in, from 0
};

struct literal {
  std::string_view written;  // with its quotes
  std::string text;          // doubled quotes undone
  bool follows_ampersand;    // an "&" before it: it does not begin the string
  bool joined;               // an "&" after it: something is appended
  int32_t parts = 0;         // how many literals were joined into it
  open_call call;            // the innermost call it stands in
};

callee callee_of(std::string_view word) {
  const std::string name = upper_copy(word);
  if (name == "OBJEVENT") return callee::obj_event;
  if (name == "EVAL" || name == "ASSIGN" || name == "ISDECLARED") return callee::variable_by_name;
  return callee::other;
}

size_t skip_blanks(std::string_view line, size_t at) {
  while (at < line.size() && is_blank_or_tab(line[at])) ++at;
  return at;
}

// Appends the text of the string that opens at `at` to `text`, doubled
// quotes undone; returns the position after its closing quote.
size_t read_string(std::string_view line, size_t at, std::string& text) {
  const char quote = line[at];
  for (++at; at < line.size(); ++at) {
    if (line[at] != quote) {
      text += line[at];
    } else if (at + 1 < line.size() && line[at + 1] == quote) {
      text += quote;
      ++at;
    } else {
      return at + 1;
    }
  }
  return at;
}

bool opens_string(char c) { return c == '"' || c == '\''; }

// Calls on_literal for every string literal of the line, up to its comment.
// Literals joined to each other ("A" & "B") are one: "AB". `calls` is room
// for the calls the walk is in, kept from line to line.
template <class F>
void for_each_literal(std::string_view line, std::vector<open_call>& calls, F&& on_literal) {
  calls.clear();
  std::string_view word;  // the word just before, when nothing else followed it
  char before = 0;        // the last byte before, blanks aside
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (opens_string(c)) {
      literal found;
      found.follows_ampersand = before == '&';
      size_t end = i;
      while (true) {
        end = read_string(line, end, found.text);
        ++found.parts;
        const size_t next = skip_blanks(line, end);
        found.joined = next < line.size() && line[next] == '&' &&
                       (next + 1 == line.size() || line[next + 1] != '=');
        if (!found.joined) break;
        const size_t after = skip_blanks(line, next + 1);
        if (after == line.size() || !opens_string(line[after])) break;
        end = after;
      }
      found.written = line.substr(i, end - i);
      if (!calls.empty()) found.call = calls.back();
      on_literal(found);
      before = line[end - 1];
      word = {};
      i = end;
      continue;
    }
    if (continues_name(c)) {
      size_t end = i;
      while (end < line.size() && continues_name(line[end])) ++end;
      // $var( and $obj.Method( call nothing that names a variable.
      const bool plain = i == 0 || (line[i - 1] != '$' && line[i - 1] != '.');
      word = plain ? line.substr(i, end - i) : std::string_view{};
      before = line[end - 1];
      i = end;
      continue;
    }
    if (c == ';') return;
    if (c == '(') {
      calls.push_back({callee_of(word), word, 0});
    } else if (c == '[') {
      calls.push_back({});
    } else if ((c == ')' || c == ']') && !calls.empty()) {
      calls.pop_back();
    } else if (c == ',' && !calls.empty()) {
      ++calls.back().argument;
    }
    if (!is_blank_or_tab(c)) {
      before = c;
      word = {};
    }
    ++i;
  }
}

// Deleted names of one kind, sorted, for prefix look-ups. They are sorted
// when a literal first begins like one of them: most scripts have no such
// literal.
class deleted_index {
 public:
  // Variables are looked up without their "$".
  deleted_index(const std::vector<deleted_name>& deleted, bool variables) : deleted_(deleted) {
    for (size_t i = 0; i < deleted.size(); ++i) {
      std::string_view key = deleted[i].name;
      if (variables && !key.empty() && key.front() == '$') key.remove_prefix(1);
      if (key.empty()) continue;
      sorted_.push_back({key, i});
      if (key.size() >= 2) {
        begins_[pair_of(key)] = true;
      } else {
        short_key_ = true;
      }
    }
  }

  struct entry {
    std::string_view key;
    size_t index;
    bool operator<(const entry& other) const { return key < other.key; }
  };
  using range = std::pair<std::vector<entry>::const_iterator, std::vector<entry>::const_iterator>;

  // The names that begin with `prefix` (upper-cased), or that equal it.
  range find(const std::string& prefix, bool whole) {
    // Most literals begin no name: their first two bytes already tell.
    if (prefix.size() >= 2 && !begins_[pair_of(prefix)]) return {sorted_.end(), sorted_.end()};
    if (!sorted_once_) {
      std::sort(sorted_.begin(), sorted_.end());
      sorted_.erase(std::unique(sorted_.begin(), sorted_.end(),
                                [](const entry& a, const entry& b) { return a.key == b.key; }),
                    sorted_.end());
      sorted_once_ = true;
    }
    auto from = std::lower_bound(sorted_.begin(), sorted_.end(), entry{prefix, 0});
    auto to = std::partition_point(from, sorted_.end(), [&](const entry& e) {
      return whole ? e.key == prefix : e.key.starts_with(prefix);
    });
    return {from, to};
  }

  const deleted_name& operator[](size_t i) const { return deleted_[i]; }

  // Whether a key begins with the two bytes (upper-cased), or is shorter.
  bool may_begin(char first, char second) const {
    return short_key_ || begins_[pair_of(upper_ascii(first), upper_ascii(second))];
  }

 private:
  static size_t pair_of(char first, char second) {
    return static_cast<unsigned char>(first) * size_t{256} + static_cast<unsigned char>(second);
  }
  static size_t pair_of(std::string_view text) { return pair_of(text[0], text[1]); }

  // Whether a key of two bytes or more begins with the pair.
  std::bitset<65536> begins_;
  bool short_key_ = false;
  const std::vector<deleted_name>& deleted_;
  std::vector<entry> sorted_;
  bool sorted_once_ = false;
};

// The name as written in the function's header: after "Func" and its
// blanks, up to "(".
std::string_view written_function_name(const deleted_name& function) {
  const std::string_view header = function.line;
  size_t from = 0;
  while (from < header.size() && is_blank_or_tab(header[from])) ++from;
  from += 4;
  while (from < header.size() && is_blank_or_tab(header[from])) ++from;
  std::string_view name = header.substr(std::min(from, header.size()));
  name = name.substr(0, name.find('('));
  while (!name.empty() && is_blank_or_tab(name.back())) name.remove_suffix(1);
  return name.empty() ? std::string_view(function.name) : name;
}

// Variables as written in their declaration lines. Every "$name" of a line
// is taken once, when the line is first asked about, so that a line with
// many deleted variables is read once, not once per variable.
class written_variables {
 public:
  std::string_view of(const deleted_name& variable) {
    auto [at, added] = by_line_.try_emplace(variable.line.data());
    if (added) {
      const std::string_view line = variable.line;
      for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '$') continue;
        size_t end = i + 1;
        while (end < line.size() && continues_name(line[end])) ++end;
        at->second.try_emplace(upper_copy(line.substr(i, end - i)), line.substr(i, end - i));
        i = end - 1;
      }
    }
    auto found = at->second.find(variable.name);
    return found == at->second.end() ? std::string_view(variable.name) : found->second;
  }

 private:
  std::unordered_map<const char*, std::unordered_map<std::string, std::string_view>> by_line_;
};

// At most this many names are listed in one warning.
constexpr size_t kListed = 3;

// The warnings of one line.
class built_name_finder {
 public:
  built_name_finder(const autoitsourcefile& script)
      : functions_(script.deleted_function_names, false),
        variables_(script.deleted_variable_names, true) {}

  // Whether a literal of the line may begin a deleted name: its first two
  // bytes (after a "$" too) begin one, or it is too short to tell. Every
  // quote counts as opening a literal, which can only say yes more often.
  bool may_begin_deleted_name(std::string_view line) const {
    for (size_t q = 0; q < line.size(); ++q) {
      const char quote = line[q];
      if (!opens_string(quote)) continue;
      // A quote among the first bytes closes the literal or stands doubled.
      auto text_byte = [&](size_t k) { return q + k < line.size() ? line[q + k] : quote; };
      const char b0 = text_byte(1);
      const char b1 = text_byte(2);
      if (b0 == quote || b1 == quote) return true;
      if (functions_.may_begin(b0, b1) || variables_.may_begin(b0, b1)) return true;
      if (b0 != '$') continue;
      const char b2 = text_byte(3);
      if (b2 == quote || variables_.may_begin(b1, b2)) return true;
    }
    return false;
  }

  // `line` is the line's text, or, for a declaration the variable pass
  // blanked, the text it had; `lost_with` then holds its variables.
  void scan(std::string_view line, std::span<const deleted_name> lost_with,
            const line_origin& where, std::vector<run_warning>& warnings) {
    for_each_literal(line, calls_, [&](const literal& found) {
      std::string text = describe(found);
      if (text.empty()) return;
      if (!lost_with.empty()) {
        text += lost_with.size() == 1 ? ", and this line's unused variable with --keep="
                                      : ", and this line's unused variables with --keep=";
        const size_t listed = std::min(lost_with.size(), kListed);
        for (size_t k = 0; k < listed; ++k) {
          if (k > 0) text += ',';
          text += written_vars_.of(lost_with[k]);
        }
        if (lost_with.size() > listed) {
          text += " and " + std::to_string(lost_with.size() - listed) + " more";
        }
      }
      warnings.push_back({where.file, where.line, std::move(text)});
    });
  }

 private:
  // The warning for a literal from which a deleted name is built; empty when
  // there is none.
  std::string describe(const literal& found) {
    if (found.follows_ampersand || found.text.empty()) return {};
    // What the literal begins: the name of a function or, given to Eval,
    // Assign or IsDeclared, of a variable. A single whole name there counts
    // as a use already; literals joined into a whole name ("Key_" & "F1")
    // do not, so they are looked up whole.
    const bool by_name = found.call.kind == callee::variable_by_name && found.call.argument == 0;
    const bool in_obj_event = found.call.kind == callee::obj_event && found.call.argument == 1;
    const bool whole = !in_obj_event && !found.joined;
    if (whole && found.parts < 2) return {};
    std::string key = upper_copy(found.text);
    // Execute("$g_" & $i) builds a variable's name too.
    const bool dollar = !by_name && !in_obj_event && key.front() == '$';
    if (dollar) key.erase(0, 1);
    // One character ("_" & $i & ".bak", "$" & $amount) begins too many
    // names to say anything.
    if (!whole && key.size() < 2) return {};
    const bool is_variable = by_name || dollar;
    deleted_index& index = is_variable ? variables_ : functions_;
    const auto [from, to] = index.find(key, whole);
    if (from == to) return {};

    std::string text = is_variable ? "a variable name is built at run time ("
                                   : "a function name is built at run time (";
    const std::string written = std::string(found.written) + (found.joined ? " & ..." : "");
    if (by_name) {
      text += std::string(found.call.written) + "(" + written + ")";
    } else if (in_obj_event) {
      text += std::string(found.call.written) + "(..., " + written + ")";
    } else {
      text += written;
    }
    text += "): deleted ";
    const auto count = static_cast<size_t>(to - from);
    size_t listed = 0;
    for (auto it = from; it != to && listed < kListed; ++it, ++listed) {
      if (listed > 0) text += ", ";
      const deleted_name& name = index[it->index];
      text += is_variable ? written_vars_.of(name) : written_function_name(name);
    }
    if (count > listed) text += " and " + std::to_string(count - listed) + " more";
    text += count == 1 ? "; keep it with --keep=" : "; keep them with --keep=";
    if (by_name) text += '$';
    text += found.text;
    if (!whole) text += '*';
    return text;
  }

  deleted_index functions_;
  deleted_index variables_;
  written_variables written_vars_;
  std::vector<open_call> calls_;
};

bool holds_quote(std::string_view line) {
  return !line.empty() && (std::memchr(line.data(), '"', line.size()) != nullptr ||
                           std::memchr(line.data(), '\'', line.size()) != nullptr);
}

// Whether "ObjEvent" stands in the line, in any case.
bool holds_obj_event(std::string_view line) {
  constexpr std::string_view word = "objevent";
  for (size_t at = 2; at + word.size() - 2 <= line.size(); ++at) {
    if ((line[at] | 0x20) != 'j') continue;  // "j" is rare: look around it only
    size_t k = 0;
    while (k < word.size() && (line[at - 2 + k] | 0x20) == word[k]) ++k;
    if (k == word.size()) return true;
  }
  return false;
}

// Whether a literal of the line can warn at all: only one joined by "&" to
// what follows it (not "&=") or one given to ObjEvent can, so nearly every
// line is passed over without being walked.
bool may_build_name(std::string_view line) {
  if (line.empty()) return false;
  const char* const end = line.data() + line.size();
  for (const char* at = line.data();; ++at) {
    at = static_cast<const char*>(std::memchr(at, '&', static_cast<size_t>(end - at)));
    if (at == nullptr) break;
    if (at + 1 == end || at[1] != '=') return true;
  }
  return std::memchr(line.data(), '(', line.size()) != nullptr && holds_obj_event(line);
}

}  // namespace

void autoitsourcefile::warn_about_names_built_at_run_time() {
  if (deleted_function_names.empty() && deleted_variable_names.empty()) return;
  built_name_finder finder(*this);
  // Declarations the variable pass blanked whole: a call in their initial
  // value, ObjEvent(...) most often, went with them. Variables are deleted
  // in line order, those of one line one after the other: each such line is
  // a run of them, and its text is read once.
  std::vector<std::span<const deleted_name>> lost;
  const std::span<const deleted_name> deleted(deleted_variable_names);
  for (size_t k = 0; k < deleted.size();) {
    size_t end = k + 1;
    while (end < deleted.size() && deleted[end].slot == deleted[k].slot) ++end;
    if (lines[deleted[k].slot].empty() && holds_quote(deleted[k].line) &&
        may_build_name(deleted[k].line)) {
      lost.push_back(deleted.subspan(k, end - k));
    }
    k = end;
  }
  // The lines that may warn are picked on two threads, one for each half
  // of the script: most lines hold no string at all. A blanked declaration
  // is empty, so it is picked only as lost.
  std::array<std::vector<int32_t>, 2> picked;
  two_threads::split(1, static_cast<size_t>(line_count) + 1,
                     [&](int half, size_t first, size_t last) {
                       for (size_t i = first; i < last; ++i) {
                         const std::string_view line = lines[i];
                         if (!holds_quote(line) || !may_build_name(line)) continue;
                         if (!finder.may_begin_deleted_name(line)) continue;
                         picked[half].push_back(static_cast<int32_t>(i));
                       }
                     });
  const std::vector<int32_t> picked_lines = two_threads::joined(std::move(picked[0]), picked[1]);

  // Then, in line order, the picked lines and the lost ones are scanned.
  auto next_picked = picked_lines.begin();
  auto next_lost = lost.begin();
  while (next_picked != picked_lines.end() || next_lost != lost.end()) {
    if (next_lost == lost.end() ||
        (next_picked != picked_lines.end() && *next_picked < next_lost->front().slot)) {
      const int32_t i = *next_picked++;
      finder.scan(lines[i], {}, origins.of(static_cast<size_t>(i)), warnings);
      continue;
    }
    const std::span<const deleted_name> lost_with = *next_lost++;
    const std::string_view line = lost_with.front().line;
    if (!finder.may_begin_deleted_name(line)) continue;
    finder.scan(line, lost_with, origins.of(static_cast<size_t>(lost_with.front().slot)),
                warnings);
  }
}
