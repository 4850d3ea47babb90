#include "names/name_chains.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "names/name_table.h"
#include "script/normalize.h"

namespace {

struct call_frame {
  std::string_view word;  // the called name as written; empty for "[" and plain "("
  int32_t argument = 0;
};


// The position after the group that "(" or "[" opens at `at`.
size_t group_end(std::string_view line, size_t at) {
  int64_t depth = 0;
  while (at < line.size()) {
    const char c = line[at];
    if (opens_string(c)) {
      at = string_end(line, at, nullptr);
      continue;
    }
    if (c == '(' || c == '[') ++depth;
    if ((c == ')' || c == ']') && --depth == 0) return at + 1;
    ++at;
  }
  return at;
}

// Where the groups of one line end, all found in one walk when first asked
// for. A chain's pieces are read ahead of the walk, which then goes into
// them for the chains they hold: scanning a group each time would cost a
// line of deeply nested calls its length once per level.
class group_ends {
 public:
  explicit group_ends(std::string_view line) : line_(line) {}

  // The position after the group that "(" or "[" opens at `at`, as
  // group_end gives it.
  size_t of(size_t at) {
    if (line_.size() >= UINT32_MAX) return group_end(line_, at);
    if (!built_) build();
    const auto found = std::lower_bound(
        ends_.begin(), ends_.end(), at,
        [](const std::pair<uint32_t, uint32_t>& e, size_t pos) { return e.first < pos; });
    if (found == ends_.end() || found->first != at) return group_end(line_, at);
    return found->second;
  }

 private:
  void build() {
    built_ = true;
    std::vector<size_t> open;  // places in ends_ of the groups still open
    for (size_t at = 0; at < line_.size();) {
      const char c = line_[at];
      if (opens_string(c)) {
        at = string_end(line_, at, nullptr);
        continue;
      }
      if (c == '(' || c == '[') {
        open.push_back(ends_.size());
        ends_.push_back({static_cast<uint32_t>(at), static_cast<uint32_t>(line_.size())});
      } else if ((c == ')' || c == ']') && !open.empty()) {
        ends_[open.back()].second = static_cast<uint32_t>(at + 1);
        open.pop_back();
      }
      ++at;
    }
  }

  std::string_view line_;
  bool built_ = false;
  // (where a group opens, the position after it), by the first.
  std::vector<std::pair<uint32_t, uint32_t>> ends_;
};

// One piece of a chain: what stands between two "&".
struct piece {
  // A word is a bare word or number (Default, 5): no name's holder.
  enum class kind { none, literal, variable, word, other } what = kind::none;
  std::string text;  // a literal's text; a plain variable's name
  size_t begin = 0;
  size_t end = 0;
  int32_t literals = 0;  // literals joined into this one
};

piece read_piece(std::string_view line, size_t at, group_ends& groups) {
  piece p;
  p.begin = at;
  if (at >= line.size()) return p;
  const char c = line[at];
  if (opens_string(c)) {
    p.what = piece::kind::literal;
    p.end = string_end(line, at, &p.text);
    p.literals = 1;
    return p;
  }
  size_t end = at;
  if (c == '$' || c == '@') {
    end = word_run_end(line, at + 1);
    const bool plain_variable = c == '$';
    bool more = false;
    while (end < line.size()) {
      if (line[end] == '[' || line[end] == '(') {
        end = groups.of(end);
      } else if (line[end] == '.' && end + 1 < line.size() && is_word_byte(line[end + 1])) {
        end = word_run_end(line, end + 1);
      } else {
        break;
      }
      more = true;
    }
    p.what = plain_variable && !more ? piece::kind::variable : piece::kind::other;
    if (p.what == piece::kind::variable) p.text = upper_copy(line.substr(at, end - at));
  } else if (is_word_byte(c)) {
    end = word_run_end(line, at);
    const size_t open = skip_blanks(line, end);
    p.what = piece::kind::word;
    if (open < line.size() && line[open] == '(') {
      end = groups.of(open);
      p.what = piece::kind::other;
    }
  } else if (c == '(') {
    end = groups.of(at);
    p.what = piece::kind::other;
  } else {
    return p;
  }
  p.end = end;
  return p;
}

// The pieces of the "&" chain that begins at `at`, literals next to each
// other joined into one.
std::vector<piece> read_chain(std::string_view line, size_t at, group_ends& groups) {
  std::vector<piece> pieces;
  piece first = read_piece(line, at, groups);
  if (first.what == piece::kind::none) return pieces;
  pieces.push_back(std::move(first));
  while (true) {
    const size_t amp = skip_blanks(line, pieces.back().end);
    if (amp >= line.size() || line[amp] != '&') break;
    if (amp + 1 < line.size() && line[amp + 1] == '=') break;  // "&=" appends, it joins nothing
    piece next = read_piece(line, skip_blanks(line, amp + 1), groups);
    if (next.what == piece::kind::none) break;
    piece& last = pieces.back();
    if (next.what == piece::kind::literal && last.what == piece::kind::literal) {
      last.text += next.text;
      last.end = next.end;
      ++last.literals;
      continue;
    }
    pieces.push_back(std::move(next));
  }
  return pieces;
}

// The chain's pattern P*S and how messages show it; false when it cannot
// name anything.
bool pattern_of(std::string_view line, const std::vector<piece>& pieces, name_chain& chain) {
  const piece& first = pieces.front();
  if (first.what == piece::kind::literal) {
    chain.prefix = first.text;
  } else if (first.what == piece::kind::variable) {
    chain.head_variable = first.text;
  } else {
    return false;
  }
  chain.shown = std::string(line.substr(first.begin, first.end - first.begin));
  if (pieces.size() == 1) {
    // Literals joined into one whole name.
    chain.whole = true;
    return first.what == piece::kind::literal && first.literals >= 2 &&
           name_bytes_only(chain.prefix);
  }
  const piece* end_piece = nullptr;
  for (size_t k = 1; k < pieces.size() && end_piece == nullptr; ++k) {
    if (pieces[k].what == piece::kind::literal && pieces[k].text.find('(') != std::string::npos) {
      end_piece = &pieces[k];
      chain.suffix = pieces[k].text.substr(0, pieces[k].text.find('('));
    }
  }
  if (end_piece == nullptr && pieces.back().what == piece::kind::literal) {
    end_piece = &pieces.back();
    chain.suffix = end_piece->text;
  }
  chain.shown += " & ...";
  if (end_piece != nullptr) {
    chain.shown += " & ";
    chain.shown += line.substr(end_piece->begin, end_piece->end - end_piece->begin);
  }
  if (!name_bytes_only(chain.suffix) && !chain.suffix.empty()) return false;
  return first.what == piece::kind::variable ||
         (chain.prefix.size() >= 2 && name_bytes_only(chain.prefix));
}

// The end of the line's code: its first ";" outside strings.
size_t code_end(std::string_view line) {
  for (size_t at = 0; at < line.size();) {
    if (opens_string(line[at])) {
      at = string_end(line, at, nullptr);
    } else if (line[at] == ';') {
      return at;
    } else {
      ++at;
    }
  }
  return line.size();
}

bool same_word(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return upper_ascii(x) == upper_ascii(y); });
}

// At most this many bytes of an argument are shown: a message about each
// call of a deeply nested line must not repeat the rest of the line.
constexpr size_t kShownArgument = 80;

std::string shown_call(std::string_view word, int32_t argument, std::string_view text,
                       bool more) {
  std::string shown(word);
  shown += '(';
  if (argument > 0) shown += "..., ";
  if (text.size() > kShownArgument) {
    shown += text.substr(0, kShownArgument);
    shown += " ...";
  } else {
    shown += text;
  }
  if (more) shown += ", ...";
  shown += ')';
  return shown;
}

}  // namespace

size_t skip_blanks(std::string_view line, size_t at) {
  while (at < line.size() && is_blank_or_tab(line[at])) ++at;
  return at;
}

size_t string_end(std::string_view line, size_t at, std::string* text) {
  const char quote = line[at];
  // Most strings hold no doubled quote: their text is one piece.
  const size_t close = line.find(quote, at + 1);
  if (close == std::string_view::npos) {
    if (text != nullptr) text->append(line.substr(at + 1));
    return line.size();
  }
  if (close + 1 >= line.size() || line[close + 1] != quote) {
    if (text != nullptr) text->append(line.substr(at + 1, close - at - 1));
    return close + 1;
  }
  for (++at; at < line.size(); ++at) {
    if (line[at] != quote) {
      if (text != nullptr) *text += line[at];
    } else if (at + 1 < line.size() && line[at + 1] == quote) {
      if (text != nullptr) *text += quote;
      ++at;
    } else {
      return at + 1;
    }
  }
  return at;
}

bool name_bytes_only(std::string_view text) {
  return std::all_of(text.begin(), text.end(), is_word_byte);
}

namespace {

struct naming_call {
  std::string_view name;
  int32_t argument;
  name_role role;
};
constexpr std::array<naming_call, 13> kCalls = {{
      {"Execute", 0, name_role::function},
      {"Call", 0, name_role::function},
      {"GUICtrlSetOnEvent", 1, name_role::function},
      {"GUISetOnEvent", 1, name_role::function},
      {"HotKeySet", 1, name_role::function},
      {"GUIRegisterMsg", 1, name_role::function},
      {"ObjEvent", 1, name_role::function},
      {"AdlibRegister", 0, name_role::function},
      {"OnAutoItExitRegister", 0, name_role::function},
      {"DllCallbackRegister", 0, name_role::function},
      {"Eval", 0, name_role::variable},
      {"Assign", 0, name_role::variable},
      {"IsDeclared", 0, name_role::variable},
}};

// The naming call that `word` names; nullptr for any other word.
const naming_call* naming_call_of(std::string_view word) {
  if (word.size() < 4 || word.size() > 20) return nullptr;
  // Every naming call begins with one of these letters.
  const char first = upper_ascii(word[0]);
  if (first != 'E' && first != 'C' && first != 'G' && first != 'H' && first != 'O' &&
      first != 'A' && first != 'D' && first != 'I') {
    return nullptr;
  }
  for (const naming_call& call : kCalls) {
    if (same_word(call.name, word)) return &call;
  }
  return nullptr;
}

}  // namespace

bool is_naming_call(std::string_view word) { return naming_call_of(word) != nullptr; }

name_role role_of_argument(std::string_view word, int32_t argument) {
  const naming_call* call = naming_call_of(word);
  return call != nullptr && call->argument == argument ? call->role : name_role::none;
}

bool may_build_name(std::string_view line) {
  const char* const begin = line.data();
  const char* const end = begin + line.size();
  // A chain: an "&" (not "&=") right after a literal of name bytes only,
  // the only kind of literal that can begin a pattern.
  for (const char* at = begin;; ++at) {
    at = static_cast<const char*>(std::memchr(at, '&', static_cast<size_t>(end - at)));
    if (at == nullptr) break;
    if (at + 1 != end && at[1] == '=') continue;
    const char* close = at;
    while (close > begin && is_blank_or_tab(close[-1])) --close;
    if (close == begin || !opens_string(close[-1])) continue;
    const char quote = *--close;
    const char* open = close;
    while (open > begin && is_word_byte(open[-1])) --open;
    if (open > begin && open[-1] == quote && open < close) return true;
  }
  // A naming call: the word before a "(" is one of them.
  for (const char* at = begin;; ++at) {
    at = static_cast<const char*>(std::memchr(at, '(', static_cast<size_t>(end - at)));
    if (at == nullptr) return false;
    const char* word_end = at;
    while (word_end > begin && is_blank_or_tab(word_end[-1])) --word_end;
    const char* word = word_end;
    while (word > begin && is_word_byte(word[-1])) --word;
    if (is_naming_call(std::string_view(word, static_cast<size_t>(word_end - word)))) return true;
  }
}

void find_name_chains(std::string_view line, std::vector<name_chain>& chains,
                      std::vector<held_name>& held) {
  line = line.substr(0, code_end(line));
  group_ends groups(line);
  bool function_shown = false;
  bool variable_shown = false;
  std::vector<call_frame> frames;
  std::string_view word;  // the word just before, when nothing but blanks followed it
  char before = 0;        // the last byte before, blanks aside
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (is_blank_or_tab(c)) {
      ++i;
      continue;
    }
    const bool argument_start = (before == '(' || before == ',') && !frames.empty();
    const name_role role = argument_start ? role_of_argument(frames.back().word,
                                                             frames.back().argument)
                                          : name_role::none;
    if (opens_string(c) || (role != name_role::none && (c == '$' || is_word_byte(c)))) {
      if (before == '&' && opens_string(c)) {  // inside a chain that does not begin with one
        i = string_end(line, i, nullptr);
        before = line[i - 1];
        word = {};
        continue;
      }
      const std::vector<piece> pieces = read_chain(line, i, groups);
      const size_t end = pieces.empty() ? i + 1 : pieces.back().end;
      const size_t after = skip_blanks(line, end);
      const bool whole_argument =
          after == line.size() || line[after] == ',' || line[after] == ')';
      if (role != name_role::none && whole_argument) {
        const call_frame& call = frames.back();
        const bool more = after < line.size() && line[after] == ',';
        name_chain chain;
        chain.role = role;
        const piece& first = pieces.front();
        const bool object_event = same_word(call.word, "ObjEvent");
        if (first.what == piece::kind::literal && pieces.size() == 1 && first.literals == 1) {
          // One literal names its function plainly; ObjEvent's is a prefix.
          if (object_event && first.text.size() >= 2 && name_bytes_only(first.text)) {
            chain.prefix = first.text;
            chain.object_event = true;
            chain.shown = shown_call(call.word, call.argument,
                                     line.substr(first.begin, first.end - first.begin), more);
            chains.push_back(std::move(chain));
          }
        } else if (first.what == piece::kind::other ||
                   (first.what == piece::kind::variable && pieces.size() == 1)) {
          // A warning shows a line's first such call of each role only:
          // the others are counted, and a deeply nested line holds one per
          // level.
          bool& shown = role == name_role::variable ? variable_shown : function_shown;
          held.push_back({shown ? std::string()
                                : shown_call(call.word, call.argument, line.substr(i, end - i), more),
                          role});
          shown = true;
        } else if (pattern_of(line, pieces, chain)) {
          if (role == name_role::variable || object_event) {
            chain.shown = shown_call(call.word, call.argument, chain.shown, more);
          }
          if (!chain.head_variable.empty()) {
            chain.shown = shown_call(call.word, call.argument, line.substr(i, end - i), more);
          }
          chains.push_back(std::move(chain));
        }
      } else if (!pieces.empty() && pieces.front().what == piece::kind::literal &&
                 (pieces.size() > 1 || pieces.front().literals > 1)) {
        // Text built elsewhere; literals joined into a whole name count too.
        name_chain chain;
        if (pattern_of(line, pieces, chain)) chains.push_back(std::move(chain));
      }
      // The walk goes on into the chain's pieces, for the chains that the
      // calls among them build: past a literal, or from a variable or call.
      if (opens_string(c)) {
        const size_t past = pieces.empty() ? end : pieces.front().end;
        i = past;
        before = line[past - 1];
        word = {};
        continue;
      }
    }
    if (is_word_byte(c) || c == '$' || c == '@') {
      const size_t end = word_run_end(line, i + 1);
      const bool plain = c != '$' && c != '@' && (i == 0 || line[i - 1] != '.');
      word = plain ? line.substr(i, end - i) : std::string_view{};
      before = line[end - 1];
      i = end;
      continue;
    }
    if (c == '(') {
      frames.push_back({word, 0});
    } else if (c == '[') {
      frames.push_back({});
    } else if ((c == ')' || c == ']') && !frames.empty()) {
      frames.pop_back();
    } else if (c == ',' && !frames.empty()) {
      ++frames.back().argument;
    }
    before = c;
    word = {};
    ++i;
  }
}
