// Keep entries from the options and the pragma lines, and the tries that match
// names against them.
#include "names/keep_list.h"

#include <algorithm>
#include <string>

#include "script/autoitsourcefile.h"
#include "script/normalize.h"

void add_keep_entries(std::string_view list, const keep_place* place,
                      std::vector<keep_entry>& entries, std::deque<std::string>& texts) {
  // The whole list normalized at once, each entry a view of it: entries
  // stay apart at their commas, which normalizing keeps.
  const std::string& text = texts.emplace_back(normalized(list));
  // Room for every entry at once: a list that doubles as it fills holds the
  // old room and the new together, and a pragma may list many thousands.
  const size_t most = static_cast<size_t>(std::count(text.begin(), text.end(), ',')) + 1;
  if (entries.capacity() - entries.size() < most) {
    entries.reserve(std::max(entries.size() + most, 2 * entries.capacity()));
  }
  std::string_view rest = text;
  while (true) {
    const size_t comma = rest.find(',');
    const std::string_view entry = rest.substr(0, comma);
    if (!entry.empty()) entries.push_back({entry, place});
    if (comma == std::string_view::npos) return;
    rest.remove_prefix(comma + 1);
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

namespace {

// "; au3shrink: WORD LIST", WORD in upper case.
bool is_pragma(std::string_view line, std::string_view word, std::string_view* list) {
  std::string_view rest = line;
  if (!take_word(rest, ";") || !take_word(rest, "AU3SHRINK") || !take_word(rest, ":") ||
      !take_word(rest, word)) {
    return false;
  }
  if (rest.empty() || !is_blank_or_tab(rest.front())) return false;
  *list = rest;
  return true;
}

}  // namespace

bool is_keep_pragma(std::string_view line, std::string_view* list) {
  return is_pragma(line, "KEEP", list);
}

bool is_no_warn_pragma(std::string_view line, std::string_view* list) {
  return is_pragma(line, "NO-WARN", list);
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

namespace {

constexpr uint64_t kHashStart = 0xcbf29ce484222325ull;

// One byte more of a key's hash (FNV-1a).
uint64_t hash_step(uint64_t hash, char byte) {
  return (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3ull;
}

uint64_t hash_forward(std::string_view text) {
  uint64_t hash = kHashStart;
  for (const char c : text) hash = hash_step(hash, c);
  return hash;
}

// A last piece is hashed from its end, as a name's ends are read.
uint64_t hash_backward(std::string_view text) {
  uint64_t hash = kHashStart;
  for (size_t i = text.size(); i > 0; --i) hash = hash_step(hash, text[i - 1]);
  return hash;
}

uint64_t hash_pair(uint64_t a, uint64_t b) {
  return (a ^ (b * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull)) * 0xFF51AFD7ED558CCDull;
}

}  // namespace

void keep_list::position_table::reserve(size_t keys, size_t positions) {
  // A slot holds a position + 1 in its low bits, and in the bits left a
  // few bits of the key's hash, so that a probe seldom reads a key that
  // is not the one looked for.
  position_bits_ = 1;
  while (position_bits_ < 32 && (uint64_t{1} << position_bits_) <= positions + 1) ++position_bits_;
  // At most three slots in four taken: probes stay short, and a slot is
  // four bytes.
  size_t size = 2;
  shift_ = 63;
  while (size * 3 < keys * 4) {
    size *= 2;
    --shift_;
  }
  slots_.assign(keys == 0 ? 0 : size, 0);
}

uint32_t keep_list::position_table::tag_of(uint64_t hash) const {
  if (position_bits_ >= 32) return 0;
  return static_cast<uint32_t>(hash >> 40) << position_bits_;
}

size_t keep_list::position_table::slot_of(uint64_t hash) const {
  // The hash's high bits, stirred: FNV's low bits alone cluster.
  return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ull) >> shift_);
}

template <class Same>
int64_t keep_list::position_table::find(uint64_t hash, Same&& same) const {
  if (slots_.empty()) return -1;
  const size_t mask = slots_.size() - 1;
  const uint32_t tag = tag_of(hash);
  const uint32_t positions = position_mask();
  for (size_t at = slot_of(hash);; at = (at + 1) & mask) {
    const uint32_t slot = slots_[at];
    if (slot == 0) return -1;
    if ((slot & ~positions) != tag) continue;
    const uint32_t position = (slot & positions) - 1;
    if (same(position)) return position;
  }
}

template <class Same>
void keep_list::position_table::add(uint64_t hash, uint32_t position, Same&& same) {
  const size_t mask = slots_.size() - 1;
  const uint32_t tag = tag_of(hash);
  const uint32_t positions = position_mask();
  for (size_t at = slot_of(hash);; at = (at + 1) & mask) {
    const uint32_t slot = slots_[at];
    if (slot == 0) {
      slots_[at] = tag | (position + 1);
      return;
    }
    if ((slot & ~positions) == tag && same((slot & positions) - 1)) return;
  }
}

std::string_view keep_list::text_of(uint32_t entry) const {
  std::string_view text = all_[entry].text;
  if (kind_ == kind::variables) text.remove_prefix(1);
  return text;
}

keep_list::split keep_list::split_of(uint32_t entry) const {
  const std::string_view text = text_of(entry);
  const size_t star = text.find('*');
  const size_t last_star = text.rfind('*');
  split s{text.substr(0, star), text.substr(last_star + 1), {}, {}};
  if (last_star > star) s.middle = text.substr(star + 1, last_star - star - 1);
  for (size_t at = 0; at < s.middle.size();) {
    const size_t next = std::min(s.middle.find('*', at), s.middle.size());
    if (next - at > s.key.size()) s.key = s.middle.substr(at, next - at);
    at = next + 1;
  }
  return s;
}

keep_list::keep_list(const std::vector<keep_entry>& entries, kind which)
    : all_(entries), matched_(entries.size(), false), listed_(entries.size(), false), kind_(which) {
  for (uint32_t e = 0; e < entries.size(); ++e) {
    const std::string_view text = entries[e].text;
    if (text.empty() || (text.front() == '$') != (which == kind::variables)) continue;
    (text.find('*') == std::string_view::npos ? exact_ : stars_).push_back(e);
    empty_ = false;
  }
  // Exact entries: a repeat is not listed; the first one answers for both.
  exact_table_.reserve(exact_.size(), entries.size());
  for (const uint32_t e : exact_) {
    const std::string_view text = text_of(e);
    bool repeat = false;
    exact_table_.add(hash_forward(text), e, [&](uint32_t other) {
      return repeat = text_of(other) == text;
    });
    listed_[e] = !repeat;
  }
  exact_.clear();
  exact_.shrink_to_fit();
  // Entries with a star: sorted so that those alike lie together, repeats
  // next to each other, the first given first.
  std::sort(stars_.begin(), stars_.end(), [&](uint32_t a, uint32_t b) {
    const split x = split_of(a);
    const split y = split_of(b);
    if (x.first != y.first) return x.first < y.first;
    if (x.last != y.last) return x.last < y.last;
    if (x.key != y.key) return x.key < y.key;
    if (text_of(a) != text_of(b)) return text_of(a) < text_of(b);
    return a < b;
  });
  std::erase_if(stars_, [&, previous = std::string_view(), any = false](uint32_t e) mutable {
    const bool repeat = any && text_of(e) == previous;
    previous = text_of(e);
    any = true;
    return repeat;
  });
  size_t firsts = 0, ends = 0, keys = 0;
  for (size_t p = 0; p < stars_.size(); ++p) {
    listed_[stars_[p]] = true;
    const split s = split_of(stars_[p]);
    const split before = p == 0 ? split{} : split_of(stars_[p - 1]);
    const bool new_first = p == 0 || s.first != before.first;
    const bool new_ends = new_first || s.last != before.last;
    firsts += new_first;
    ends += new_ends;
    keys += !s.key.empty() && (new_ends || s.key != before.key);
  }
  by_first_.reserve(firsts, stars_.size());
  by_ends_.reserve(ends, stars_.size());
  by_key_.reserve(keys, stars_.size());
  for (size_t p = 0; p < stars_.size(); ++p) {
    const split s = split_of(stars_[p]);
    const auto at = static_cast<uint32_t>(p);
    const uint64_t first = hash_forward(s.first);
    by_first_.add(first, at, [&](uint32_t q) { return split_of(stars_[q]).first == s.first; });
    const uint64_t ends_hash = hash_pair(first, hash_backward(s.last));
    by_ends_.add(ends_hash, at, [&](uint32_t q) {
      const split o = split_of(stars_[q]);
      return o.first == s.first && o.last == s.last;
    });
    if (s.key.empty()) continue;
    by_key_.add(hash_pair(ends_hash, hash_forward(s.key)), at, [&](uint32_t q) {
      const split o = split_of(stars_[q]);
      return o.first == s.first && o.last == s.last && o.key == s.key;
    });
  }
  stars_.shrink_to_fit();
}

bool keep_list::middle_fits(std::string_view middle, std::string_view inner) {
  for (size_t at = 0; at < middle.size();) {
    const size_t next = std::min(middle.find('*', at), middle.size());
    const std::string_view piece = middle.substr(at, next - at);
    at = next + 1;
    if (piece.empty()) continue;
    const size_t found = inner.find(piece);
    if (found == std::string_view::npos) return false;
    inner.remove_prefix(found + piece.size());
  }
  return true;
}

void keep_list::mark(uint32_t entry, int64_t& found) {
  matched_[entry] = true;
  // The user's entries first, then the first in the order given.
  if (found < 0) {
    found = entry;
    return;
  }
  const bool found_built = all_[static_cast<size_t>(found)].built();
  const bool entry_built = all_[entry].built();
  if (found_built != entry_built ? found_built : entry < found) found = entry;
}

const keep_entry* keep_list::keeps(std::string_view name) {
  // Variables are recorded with their "$"; "$*" must match any of them.
  if (kind_ == kind::variables && !name.empty() && name.front() == '$') name.remove_prefix(1);
  int64_t found = -1;
  const int64_t exact = exact_table_.find(hash_forward(name), [&](uint32_t e) {
    return text_of(e) == name;
  });
  if (exact >= 0) mark(static_cast<uint32_t>(exact), found);
  if (!stars_.empty()) {
    const size_t size = name.size();
    uint64_t first_hash = kHashStart;
    for (size_t l = 0; l <= size; ++l) {
      if (l > 0) first_hash = hash_step(first_hash, name[l - 1]);
      const std::string_view first = name.substr(0, l);
      auto same_first = [&](uint32_t p) { return split_of(stars_[p]).first == first; };
      if (by_first_.find(first_hash, same_first) < 0) continue;
      uint64_t last_hash = kHashStart;
      for (size_t m = 0; l + m <= size; ++m) {
        if (m > 0) last_hash = hash_step(last_hash, name[size - m]);
        const std::string_view last = name.substr(size - m);
        const uint64_t ends_hash = hash_pair(first_hash, last_hash);
        const int64_t run = by_ends_.find(ends_hash, [&](uint32_t p) {
          const split s = split_of(stars_[p]);
          return s.first == first && s.last == last;
        });
        if (run < 0) continue;
        const std::string_view inner = name.substr(l, size - l - m);
        // The run's entries without a key come first; those with one are
        // looked up by each inner part of the name.
        bool keyed = false;
        for (size_t p = static_cast<size_t>(run); p < stars_.size(); ++p) {
          const split s = split_of(stars_[p]);
          if (s.first != first || s.last != last) break;
          if (!s.key.empty()) {
            keyed = true;
            break;
          }
          if (middle_fits(s.middle, inner)) mark(stars_[p], found);
        }
        if (!keyed) continue;
        for (size_t a = 0; a < inner.size(); ++a) {
          uint64_t key_hash = kHashStart;
          for (size_t b = a + 1; b <= inner.size(); ++b) {
            key_hash = hash_step(key_hash, inner[b - 1]);
            const std::string_view key = inner.substr(a, b - a);
            const int64_t keyed_run = by_key_.find(hash_pair(ends_hash, key_hash), [&](uint32_t p) {
              const split s = split_of(stars_[p]);
              return s.first == first && s.last == last && s.key == key;
            });
            if (keyed_run < 0) continue;
            for (size_t p = static_cast<size_t>(keyed_run); p < stars_.size(); ++p) {
              const split s = split_of(stars_[p]);
              if (s.first != first || s.last != last || s.key != key) break;
              if (middle_fits(s.middle, inner)) mark(stars_[p], found);
            }
          }
        }
      }
    }
  }
  return found < 0 ? nullptr : &all_[static_cast<size_t>(found)];
}

void keep_list::warn_unmatched(std::vector<run_warning>& warnings) const {
  const char* what = kind_ == kind::functions ? "' matches no function" : "' matches no variable";
  for (size_t i = 0; i < all_.size(); ++i) {
    const keep_entry& entry = all_[i];
    // A built name that matches nothing only shows text that names nothing.
    if (!listed_[i] || matched_[i] || entry.built()) continue;
    warnings.push_back({entry.file(), entry.line(),
                        "keep entry '" + std::string(entry.text) + what, "keep-unmatched"});
  }
}

void autoitsourcefile::add_keep_list(std::string_view list) {
  add_keep_entries(list, nullptr, keep_entries, keep_texts);
}

void autoitsourcefile::read_keep_pragmas() {
  std::string_view list;
  // Room for every entry of every pragma at once, counted first: a list
  // that grows as it fills may hold twice the room it needs.
  size_t most = 0;
  for (const int32_t i : comment_lines) {
    if (!is_keep_pragma(lines[i], &list)) continue;
    most += static_cast<size_t>(std::count(list.begin(), list.end(), ',')) + 1;
  }
  keep_entries.reserve(keep_entries.size() + most);
  // A pragma is a line that begins with ";", and the include pass noted
  // those: the other lines are not read again.
  for (const int32_t i : comment_lines) {
    if (!is_keep_pragma(lines[i], &list)) {
      if (is_tree_shaking_pragma(lines[i])) tree_shaking_asked = true;
      continue;
    }
    const line_origin where = origins.of(static_cast<size_t>(i));
    add_keep_entries(list, &keep_places.emplace_back(keep_place{where.file, where.line, {}}),
                     keep_entries, keep_texts);
  }
}
