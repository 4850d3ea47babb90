#include "passes/deadcode/keep_list.h"

#include <string>

#include "script/autoitsourcefile.h"
#include "script/normalize.h"

void add_keep_entries(std::string_view list, std::string_view file, int64_t line,
                      std::vector<keep_entry>& entries) {
  while (true) {
    const size_t comma = list.find(',');
    std::string text = normalized(list.substr(0, comma));
    if (!text.empty()) entries.push_back({std::move(text), file, line});
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

keep_list::keep_list(const std::vector<keep_entry>& entries, kind which) : kind_(which) {
  nodes_.emplace_back();
  for (const keep_entry& entry : entries) {
    std::string_view name = entry.text;
    const bool variable = name.front() == '$';
    if (variable != (which == kind::variables)) continue;
    if (variable) name.remove_prefix(1);
    const bool prefix = !name.empty() && name.back() == '*';
    if (prefix) name.remove_suffix(1);
    int32_t at = 0;
    for (char byte : name) {
      int32_t next = child(at, byte);
      if (next < 0) {
        next = static_cast<int32_t>(nodes_.size());
        nodes_.emplace_back();
        edges_.emplace((static_cast<uint64_t>(at) << 8) | static_cast<unsigned char>(byte), next);
      }
      at = next;
    }
    int32_t& slot = prefix ? nodes_[at].prefix : nodes_[at].exact;
    if (slot >= 0) continue;  // a repeat: the first one answers for both
    slot = static_cast<int32_t>(entries_.size());
    entries_.push_back(&entry);
  }
  matched_.assign(entries_.size(), false);
}

int32_t keep_list::child(int32_t node, char byte) const {
  auto it = edges_.find((static_cast<uint64_t>(node) << 8) | static_cast<unsigned char>(byte));
  return it == edges_.end() ? -1 : it->second;
}

void keep_list::mark(int32_t entry, bool* kept) {
  if (entry < 0) return;
  matched_[entry] = true;
  *kept = true;
}

bool keep_list::keeps(std::string_view name) {
  if (entries_.empty()) return false;
  // Variables are recorded with their "$"; "$*" must match any of them.
  if (kind_ == kind::variables && !name.empty() && name.front() == '$') name.remove_prefix(1);
  bool kept = false;
  int32_t at = 0;
  for (char byte : name) {
    mark(nodes_[at].prefix, &kept);
    at = child(at, byte);
    if (at < 0) return kept;
  }
  mark(nodes_[at].prefix, &kept);
  mark(nodes_[at].exact, &kept);
  return kept;
}

void keep_list::warn_unmatched(std::vector<run_warning>& warnings) const {
  const char* what = kind_ == kind::functions ? "' matches no function" : "' matches no variable";
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (matched_[i]) continue;
    const keep_entry& entry = *entries_[i];
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
    if (!is_keep_pragma(lines[i], &list)) continue;
    const line_origin where = origins.of(static_cast<size_t>(i));
    add_keep_entries(list, where.file, where.line, keep_entries);
  }
}
