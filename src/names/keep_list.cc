// Keep entries from the options and the pragma lines, and the tries that match
// names against them.
#include "names/keep_list.h"

#include <algorithm>
#include <string>

#include "script/autoitsourcefile.h"
#include "script/normalize.h"

void add_keep_entries(std::string_view list, std::string_view file, int64_t line,
                      std::vector<keep_entry>& entries) {
  // Room for every entry at once: a list that doubles as it fills holds the
  // old room and the new together, and a pragma may list many thousands.
  const size_t most = static_cast<size_t>(std::count(list.begin(), list.end(), ',')) + 1;
  if (entries.capacity() - entries.size() < most) {
    entries.reserve(std::max(entries.size() + most, 2 * entries.capacity()));
  }
  while (true) {
    const size_t comma = list.find(',');
    std::string text = normalized(list.substr(0, comma));
    if (!text.empty()) entries.push_back({std::move(text), file, line, {}, false});
    if (comma == std::string_view::npos) return;
    list.remove_prefix(comma + 1);
  }
}

namespace {

// Skips blanks and tabs, then `word` in any case; false when it is not there.
bool take_word(std::string_view& rest, std::string_view word) {
  while (!rest.empty() && is_blank_or_tab(rest.front())) rest.remove_prefix(1);
  if (rest.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (upper_ascii(rest[i]) != word[i]) return false;
  }
  rest.remove_prefix(word.size());
  return true;
}

}  // namespace

bool is_keep_pragma(std::string_view line, std::string_view* list) {
  std::string_view rest = line;
  if (!take_word(rest, ";") || !take_word(rest, "AU3SHRINK") || !take_word(rest, ":") ||
      !take_word(rest, "KEEP")) {
    return false;
  }
  if (rest.empty() || !is_blank_or_tab(rest.front())) return false;
  *list = rest;
  return true;
}

bool is_switch_pragma(std::string_view line, std::string_view upper_word) {
  std::string_view rest = line;
  if (!take_word(rest, ";") || !take_word(rest, "AU3SHRINK") || !take_word(rest, ":") ||
      !take_word(rest, upper_word)) {
    return false;
  }
  while (!rest.empty() && is_blank_or_tab(rest.front())) rest.remove_prefix(1);
  return rest.empty();
}

bool is_tree_shaking_pragma(std::string_view line) { return is_switch_pragma(line, "TREE-SHAKING"); }

keep_list::keep_list(const std::vector<keep_entry>& entries, kind which) : kind_(which) {
  std::unordered_map<std::string_view, bool> seen;
  for (const keep_entry& entry : entries) {
    std::string_view name = entry.text;
    const bool variable = name.front() == '$';
    if (variable != (which == kind::variables)) continue;
    // A repeat: the first one answers for both.
    if (!seen.emplace(entry.text, true).second) continue;
    if (variable) name.remove_prefix(1);
    const auto index = static_cast<int32_t>(entries_.size());
    entries_.push_back(&entry);
    const size_t star = name.find('*');
    if (star == std::string_view::npos) {
      const int32_t node = firsts_.add(name, false);
      exact_.emplace(node, index);
      continue;
    }
    const size_t last_star = name.rfind('*');
    const std::string_view first = name.substr(0, star);
    const std::string_view last = name.substr(last_star + 1);
    pattern p{index, {}, first.size() + last.size()};
    for (size_t at = star + 1; at < last_star;) {
      const size_t next = name.find('*', at);
      if (next > at) {
        p.middle.emplace_back(name.substr(at, next - at));
        p.least_length += next - at;
      }
      at = next + 1;
    }
    const int32_t first_node = firsts_.add(first, false);
    const int32_t last_node = lasts_.add(last, true);
    firsts_.flag(first_node);
    lasts_.flag(last_node);
    const uint64_t pair = (static_cast<uint64_t>(first_node) << 32) | static_cast<uint32_t>(last_node);
    if (p.middle.empty()) {
      patterns_[pair].push_back(std::move(p));
      continue;
    }
    const auto longest = std::max_element(
        p.middle.begin(), p.middle.end(),
        [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    keyed_[pair][key_pieces_.add(*longest)].push_back(std::move(p));
  }
  matched_.assign(entries_.size(), false);
  tried_at_.assign(key_pieces_.size(), kNotTried);
}

int32_t keep_list::trie::add(std::string_view text, bool backwards) {
  int32_t at = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char byte = backwards ? text[text.size() - 1 - i] : text[i];
    int32_t next = child(at, byte);
    if (next < 0) {
      next = static_cast<int32_t>(flags_.size());
      flags_.push_back(0);
      edges_.emplace((static_cast<uint64_t>(at) << 8) | static_cast<unsigned char>(byte), next);
    }
    at = next;
  }
  return at;
}

int32_t keep_list::trie::child(int32_t node, char byte) const {
  auto it = edges_.find((static_cast<uint64_t>(node) << 8) | static_cast<unsigned char>(byte));
  return it == edges_.end() ? -1 : it->second;
}

void keep_list::walk(const trie& t, std::string_view name, bool backwards,
                     std::vector<reached>& out) const {
  out.clear();
  int32_t at = 0;
  for (size_t depth = 0;; ++depth) {
    if (t.flagged(at)) out.push_back({at, depth});
    if (depth == name.size()) return;
    at = t.child(at, backwards ? name[name.size() - 1 - depth] : name[depth]);
    if (at < 0) return;
  }
}

bool keep_list::middle_fits(const pattern& p, std::string_view inner) {
  for (const std::string& piece : p.middle) {
    const size_t at = inner.find(piece);
    if (at == std::string_view::npos) return false;
    inner.remove_prefix(at + piece.size());
  }
  return true;
}

const keep_entry* keep_list::keeps(std::string_view name) {
  if (entries_.empty()) return nullptr;
  // Variables are recorded with their "$"; "$*" must match any of them.
  if (kind_ == kind::variables && !name.empty() && name.front() == '$') name.remove_prefix(1);
  int32_t found = -1;
  auto mark = [&](int32_t entry) {
    matched_[static_cast<size_t>(entry)] = true;
    // The user's entries first, then the first in the order given.
    if (found < 0) {
      found = entry;
      return;
    }
    const bool found_built = entries_[static_cast<size_t>(found)]->built;
    const bool entry_built = entries_[static_cast<size_t>(entry)]->built;
    if (found_built != entry_built ? found_built : entry < found) found = entry;
  };
  if (!exact_.empty()) {
    int32_t at = 0;
    for (size_t i = 0; i < name.size() && at >= 0; ++i) at = firsts_.child(at, name[i]);
    if (at >= 0) {
      auto it = exact_.find(at);
      if (it != exact_.end()) mark(it->second);
    }
  }
  auto answer = [&]() -> const keep_entry* {
    return found < 0 ? nullptr : entries_[static_cast<size_t>(found)];
  };
  if (patterns_.empty() && keyed_.empty()) return answer();
  walk(firsts_, name, false, firsts_reached_);
  if (firsts_reached_.empty()) return answer();
  walk(lasts_, name, true, lasts_reached_);
  key_places_.clear();
  if (!keyed_.empty()) {
    key_pieces_.find(name, [&](int32_t piece, size_t start) { key_places_.emplace_back(piece, start); });
  }
  for (const reached& first : firsts_reached_) {
    for (const reached& last : lasts_reached_) {
      // The first and last pieces may not overlap.
      if (first.depth + last.depth > name.size()) continue;
      const uint64_t pair = (static_cast<uint64_t>(first.node) << 32) | static_cast<uint32_t>(last.node);
      if (auto it = patterns_.find(pair); it != patterns_.end()) {
        for (const pattern& p : it->second) {
          if (name.size() >= p.least_length) mark(p.entry);
        }
      }
      if (key_places_.empty()) continue;
      const auto keyed = keyed_.find(pair);
      if (keyed == keyed_.end()) continue;
      const std::string_view inner = name.substr(first.depth, name.size() - first.depth - last.depth);
      for (const auto& [piece, start] : key_places_) {
        // Each piece's entries once, where the piece lies between the ends.
        if (start < first.depth ||
            start + key_pieces_.piece_length(piece) > name.size() - last.depth ||
            tried_at_[static_cast<size_t>(piece)] == pair) {
          continue;
        }
        tried_at_[static_cast<size_t>(piece)] = pair;
        const auto entries = keyed->second.find(piece);
        if (entries == keyed->second.end()) continue;
        for (const pattern& p : entries->second) {
          if (name.size() >= p.least_length && middle_fits(p, inner)) mark(p.entry);
        }
      }
    }
  }
  for (const auto& [piece, start] : key_places_) tried_at_[static_cast<size_t>(piece)] = kNotTried;
  return answer();
}

void keep_list::warn_unmatched(std::vector<run_warning>& warnings) const {
  const char* what = kind_ == kind::functions ? "' matches no function" : "' matches no variable";
  for (size_t i = 0; i < entries_.size(); ++i) {
    const keep_entry& entry = *entries_[i];
    // A built name that matches nothing only shows text that names nothing.
    if (matched_[i] || entry.built) continue;
    warnings.push_back({entry.file, entry.line, "keep entry '" + entry.text + what});
  }
}

void autoitsourcefile::add_keep_list(std::string_view list) {
  add_keep_entries(list, {}, 0, keep_entries);
}

void autoitsourcefile::read_keep_pragmas() {
  std::string_view list;
  // A pragma is a line that begins with ";", and the include pass noted
  // those: the other lines are not read again.
  for (const int32_t i : comment_lines) {
    if (!is_keep_pragma(lines[i], &list)) {
      if (is_tree_shaking_pragma(lines[i])) tree_shaking_asked = true;
      continue;
    }
    const line_origin where = origins.of(static_cast<size_t>(i));
    add_keep_entries(list, where.file, where.line, keep_entries);
  }
}
