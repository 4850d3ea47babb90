// The cuts of a line declaring many variables, made all at once.
#include "passes/variables/variable_line_cuts.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "names/name_table.h"
#include "passes/variables/position_set.h"
#include "passes/variables/variable_cut.h"
#include "passes/variables/variable_scan.h"
#include "script/normalize.h"

// How the cuts are made together. The line is not rewritten while they are
// made: each of its bytes is either kept or cut, and the text is the kept
// bytes in order. A name stands as an item only at a byte whose nearest
// non-blank byte before it is a comma, or which nothing but declaring words
// precede; names hold no blank and no comma and begin with no declaring
// word. Every cut removes text that starts at a comma or at an item and ends
// at a comma, and such a cut never changes whether a name stands at a place
// it keeps: the bytes of the item are kept or cut together, the byte after
// it stays a comma or the end, and the nearest non-blank byte before a place
// stays a comma. It cannot make a name stand at a new place either, with one
// exception: cutting the item right after the declaring words can let them
// run on into the next item, when the next name begins a declaring word and
// the text after it ends that word ("Local $a = f(x, Con st.y), Con" becomes
// "Local  Con st.y), Con", where a name now stands at ".y").
//
// So the places where each name stands are found once, left to right, and
// each cut takes the first kept place of its name (and of the next name).
// When the declaring words run on, the places after the words they gain are
// added: those lie between the first item left and the comma after it, past
// every place already known, and that stretch of text is whole (no cut
// ends inside it).
// Kept bytes, kept items and the nearest kept non-blank byte are looked up
// through links that skip what is known to be cut (or blank), shortened as
// they are followed.

namespace {

using pos = uint32_t;
constexpr pos kNone = std::numeric_limits<pos>::max();
// From this many names on, places are looked up by hash.
constexpr size_t kNamesForLookup = 8;

// For each declaring word of the run of them that begins `line` (blanks
// and tabs allowed anywhere, letter case ignored): the number of non-blank
// bytes up to its end. No word is a prefix of another, so the run splits
// into words one way only.
std::vector<pos> declaring_word_ends(std::string_view line) {
  std::vector<pos> ends;
  size_t x = 0;
  pos kept = 0;
  for (size_t length; (length = declaring_word_at(line, x, &x)) > 0;) {
    kept += static_cast<pos>(length);
    ends.push_back(kept);
  }
  return ends;
}

bool byte_less(char a, char b) {
  return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
}

// A name whose bytes after the first all carry a name on ("$V12", ".Y"):
// where it stands it takes its first byte and the whole run of such bytes
// after it, so a place holds one such name at most, found by one look-up.
bool plain_name(std::string_view name) {
  return !name.empty() && std::all_of(name.begin() + 1, name.end(), is_word_byte);
}

// Spreads a name_hash key over its upper half, which picks the slot.
uint64_t mixed(uint64_t key) {
  key ^= key >> 31;
  key *= 0xBF58476D1CE4E5B9ull;
  key ^= key >> 29;
  return key;
}

class line_cutter {
 public:
  line_cutter(std::string_view line, const shared_cut_list& cuts);

  void cut_all();

  // Writes the kept text at out and returns its length.
  size_t write(char* out) const;

 private:
  // How the names are found where they may stand.
  enum class lookup {
    plain,   // every name plain: a slot per name, by hash
    sorted,  // a few others: sorted, walked byte by byte
    table,   // many others: a name_table over an upper-case copy
  };

  // Calls on_item(name, place) for every name that stands in the line, in
  // order of place.
  template <class F>
  void for_each_item(F&& on_item);
  void find_items();
  // Every name that stands at `head`, as on_item(name number, head).
  template <class F>
  void items_at(pos head, F&& on_item);
  template <class F>
  void plain_items_at(pos head, F&& on_item) const;
  template <class F>
  void sorted_items_at(pos head, F&& on_item) const;
  template <class F>
  void table_items_at(pos head, F&& on_item);
  pos name_number(std::string_view name) const;
  size_t name_count() const;

  // The plain lookup. Name number i < the cut count is cut i's name, a
  // greater one the next name of cut extra_next_[i - cut count].
  std::string_view plain_name_of(pos id) const;
  size_t slot_of(uint64_t mixed_key) const {
    return static_cast<size_t>(((mixed_key >> 32) * slots_.size()) >> 32);
  }
  uint32_t tag_of(uint64_t mixed_key) const {
    return static_cast<uint32_t>(mixed_key << id_bits_) & ~id_mask_;
  }
  // The number of the name equal to the n bytes at text (to their upper-case
  // form when `upper`), whose name_hash key is `key`; kNone if none.
  pos plain_find(const char* text, size_t n, uint64_t key, bool upper) const;
  // Numbers `name` as id unless an equal name has a number already.
  void plain_add(std::string_view name, pos id);

  bool kept(pos x) const { return kept_.contains(x); }
  void cut_out(pos begin, pos end);
  // The largest j <= x such that j is 0 or byte j - 1 is kept and not blank.
  pos solid_end_before(pos x);
  // The first kept place at or after `from` where name stands; kNone if none.
  pos first_item_from(pos name, pos from);
  // The first entry from `start` on, before `end`, whose place is kept, in
  // a list of places and its skip links; `end` when there is none.
  pos first_kept_entry(const pos* places, pos* next, pos start, pos end);
  // The declaring words now run on from `at`, the first item left: records
  // the names that stand after each word they gain.
  void add_places_after_words(pos at);

  std::string_view line_;
  pos size_;
  const shared_cut_list& cuts_;
  bool changed_ = false;
  lookup lookup_ = lookup::plain;

  // Plain names: a slot per name and a half, each holding a name number
  // plus 1 (0: empty) in its low id_bits_ bits and, above them, bits of the
  // name's hash that spare most comparisons with other names. The names
  // themselves are read from the cuts, so the cutter holds no copy of them.
  std::vector<uint32_t> slots_;
  int id_bits_ = 0;
  uint32_t id_mask_ = 0;
  std::vector<pos> extra_next_;
  size_t max_length_ = 0;
  // Other names. A few are sorted, each once, and walked byte by byte; many
  // are looked up by hash in an upper-case copy of the line (walking the
  // sorted names would cost a binary search per byte), each numbered as the
  // first name equal to it.
  std::vector<std::string_view> names_;
  std::optional<name_table> name_lookup_;
  std::string upper_;
  // Where name k stands: nowhere (kNone), at one place (the place itself:
  // most names stand once, where they are declared), or, with kMany set,
  // at the places of its number m among the names that stand more than
  // once, ascending: item_places_[item_begin_[m] .. item_begin_[m + 1]).
  static constexpr pos kMany = pos{1} << 31;
  std::vector<pos> places_of_;
  std::vector<pos> item_begin_;
  std::vector<pos> item_places_;
  // item_next_[e] != e: entries e .. item_next_[e] - 1 are known to be cut.
  std::vector<pos> item_next_;
  // Places gained when the declaring words ran on, per name, in the same
  // form: ascending, with their own skip links.
  struct gained_places {
    std::vector<pos> places;
    std::vector<pos> next;
  };
  std::unordered_map<pos, gained_places> gained_;
  // The bytes kept (and the end, always), and those of them that are not
  // blank: a bit per byte each.
  position_set kept_;
  position_set solid_;
};

line_cutter::line_cutter(std::string_view line, const shared_cut_list& cuts)
    : line_(line),
      size_(static_cast<pos>(line.size())),
      cuts_(cuts),
      kept_(size_t{size_} + 1, [](size_t) { return true; }),
      solid_(size_, [&](size_t x) { return !is_blank_or_tab(line[x]); }) {
  // The names to look for: each cut's, and its next name where that is not
  // the next cut's own (mostly it is).
  const size_t count = cuts.size();
  auto next_of = [&](size_t i, const shared_cut& cut) {
    if (!cut.next_shares || cut.next_name.empty()) return std::string_view();
    if (i + 1 < count && cuts[i + 1].name == cut.next_name) return std::string_view();
    return cut.next_name;
  };
  size_t names = 0;
  size_t extras = 0;
  for (size_t i = 0; i < count; ++i) {
    const shared_cut cut = cuts[i];
    const std::string_view next = next_of(i, cut);
    if (!cut.name.empty()) {
      ++names;
      if (!plain_name(cut.name)) lookup_ = lookup::sorted;
    }
    if (!next.empty()) {
      ++extras;
      if (!plain_name(next)) lookup_ = lookup::sorted;
    }
  }
  if (lookup_ == lookup::plain) {
    slots_.assign(names + extras + (names + extras) / 2 + 1, 0);
    id_bits_ = std::bit_width(count + extras + 1);
    id_mask_ = static_cast<uint32_t>((uint64_t{1} << id_bits_) - 1);
    for (size_t i = 0; i < count; ++i) plain_add(cuts[i].name, static_cast<pos>(i));
    extra_next_.reserve(extras);
    for (size_t i = 0; i < count; ++i) {
      const std::string_view next = next_of(i, cuts[i]);
      if (next.empty() || name_number(next) != kNone) continue;
      extra_next_.push_back(static_cast<pos>(i));
      plain_add(next, static_cast<pos>(count + extra_next_.size() - 1));
    }
  } else {
    names_.reserve(names + extras);
    for (size_t i = 0; i < count; ++i) {
      const shared_cut cut = cuts[i];
      if (!cut.name.empty()) names_.push_back(cut.name);
      const std::string_view next = next_of(i, cut);
      if (!next.empty()) names_.push_back(next);
    }
    if (names_.size() >= kNamesForLookup) {
      // The table numbers equal names as the first of them: no sort needed.
      lookup_ = lookup::table;
      name_lookup_.emplace(names_, name_table::links::prefixes);
      upper_ = upper_copy(line_);
    } else {
      std::sort(names_.begin(), names_.end());
      names_.erase(std::unique(names_.begin(), names_.end()), names_.end());
    }
  }
  find_items();
}

std::string_view line_cutter::plain_name_of(pos id) const {
  const size_t count = cuts_.size();
  return id < count ? cuts_[id].name : cuts_[extra_next_[id - count]].next_name;
}

pos line_cutter::plain_find(const char* text, size_t n, uint64_t key, bool upper) const {
  const uint64_t mixed_key = mixed(key);
  const uint32_t tag = tag_of(mixed_key);
  for (size_t s = slot_of(mixed_key);; s = s + 1 == slots_.size() ? 0 : s + 1) {
    const uint32_t entry = slots_[s];
    if (entry == 0) return kNone;
    if ((entry & ~id_mask_) != tag) continue;
    const pos id = (entry & id_mask_) - 1;
    const std::string_view name = plain_name_of(id);
    if (name.size() != n) continue;
    size_t i = 0;
    if (upper) {
      while (i < n && upper_ascii(text[i]) == name[i]) ++i;
    } else {
      while (i < n && text[i] == name[i]) ++i;
    }
    if (i == n) return id;
  }
}

void line_cutter::plain_add(std::string_view name, pos id) {
  if (name.empty()) return;  // an empty name never stands
  name_hash hash;
  for (char c : name) hash.append(static_cast<unsigned char>(c));
  const uint64_t mixed_key = mixed(hash.key());
  const uint32_t tag = tag_of(mixed_key);
  size_t s = slot_of(mixed_key);
  for (; slots_[s] != 0; s = s + 1 == slots_.size() ? 0 : s + 1) {
    const uint32_t entry = slots_[s];
    if ((entry & ~id_mask_) == tag && plain_name_of((entry & id_mask_) - 1) == name) return;
  }
  slots_[s] = tag | (id + 1);
  max_length_ = std::max(max_length_, name.size());
}

pos line_cutter::name_number(std::string_view name) const {
  switch (lookup_) {
    case lookup::plain: {
      name_hash hash;
      for (char c : name) hash.append(static_cast<unsigned char>(c));
      return plain_find(name.data(), name.size(), hash.key(), false);
    }
    case lookup::table:
      return static_cast<pos>(name_lookup_->find(name));
    case lookup::sorted:
      break;
  }
  return static_cast<pos>(std::lower_bound(names_.begin(), names_.end(), name) - names_.begin());
}

size_t line_cutter::name_count() const {
  return lookup_ == lookup::plain ? cuts_.size() + extra_next_.size() : names_.size();
}

// Names stand at the first non-blank byte after a comma or after a
// declaring word of the run that begins the line: one such byte per comma
// and per word.
template <class F>
void line_cutter::for_each_item(F&& on_item) {
  const std::vector<pos> word_ends = declaring_word_ends(line_);
  size_t w = 0;
  pos non_blank = 0;
  char last = 0;
  for (pos x = 0; x < size_; ++x) {
    const char c = line_[x];
    if (is_blank_or_tab(c)) continue;
    while (w < word_ends.size() && word_ends[w] < non_blank) ++w;
    const bool after_words = w < word_ends.size() && word_ends[w] == non_blank;
    if ((non_blank > 0 && last == ',') || after_words) items_at(x, on_item);
    ++non_blank;
    last = c;
  }
}

// The places are found twice, counted and then filled in, rather than
// gathered in a list of their own first: the look-ups cost less than the
// room such a list takes. Only the names that stand more than once get a
// list of places.
void line_cutter::find_items() {
  places_of_.assign(name_count(), kNone);
  pos many = 0;
  for_each_item([&](pos name, pos place) {
    pos& where = places_of_[name];
    if (where == kNone) {
      where = place;
    } else if ((where & kMany) == 0) {
      where = kMany | many++;
      item_begin_.push_back(2);
    } else {
      ++item_begin_[where & ~kMany];
    }
  });
  if (many == 0) return;
  pos total = 0;
  for (pos& begin : item_begin_) {
    const pos n = begin;
    begin = total;
    total += n;
  }
  item_begin_.push_back(total);
  item_places_.resize(total);
  std::vector<pos> filled(item_begin_.begin(), item_begin_.end() - 1);
  for_each_item([&](pos name, pos place) {
    const pos where = places_of_[name];
    if ((where & kMany) != 0) item_places_[filled[where & ~kMany]++] = place;
  });
  item_next_.resize(total);
  std::iota(item_next_.begin(), item_next_.end(), pos{0});
}

template <class F>
void line_cutter::items_at(pos head, F&& on_item) {
  switch (lookup_) {
    case lookup::plain:
      plain_items_at(head, on_item);
      return;
    case lookup::sorted:
      sorted_items_at(head, on_item);
      return;
    case lookup::table:
      table_items_at(head, on_item);
      return;
  }
}

// A plain name that stands at head is the byte there and the run of name
// bytes after it, upper-cased: one look-up. No name stands where a
// declaring word begins, as none begins with one; that is checked first so
// that the run of declaring words is not read once per word.
template <class F>
void line_cutter::plain_items_at(pos head, F&& on_item) const {
  for (std::string_view word : declaring_words) {
    if (size_ - head < word.size()) continue;
    size_t i = 0;
    while (i < word.size() && upper_ascii(line_[head + i]) == word[i]) ++i;
    if (i == word.size()) return;
  }
  name_hash hash;
  hash.append(static_cast<unsigned char>(upper_ascii(line_[head])));
  size_t end = head + 1;
  for (; end < size_ && is_word_byte(line_[end]); ++end) {
    if (end - head == max_length_) return;  // longer than every name
    hash.append(static_cast<unsigned char>(upper_ascii(line_[end])));
  }
  const pos id = plain_find(line_.data() + head, end - head, hash.key(), true);
  if (id != kNone) on_item(id, head);
}

// Walks the sorted names byte by byte, keeping the range that begins with
// the bytes read so far. Names hold no comma, so the walk ends before the
// next place where a name could stand (or, at a declaring word, within the
// word, which no name begins with).
template <class F>
void line_cutter::sorted_items_at(pos head, F&& on_item) const {
  size_t lo = 0;
  size_t hi = names_.size();
  for (size_t depth = 0;; ++depth) {
    const size_t end = head + depth;
    if (lo < hi && names_[lo].size() == depth) {
      if (end == size_ || !continues_name(line_[end])) on_item(static_cast<pos>(lo), head);
      ++lo;
    }
    if (lo == hi || end == size_) return;
    const char c = upper_ascii(line_[end]);
    const auto first = names_.begin() + static_cast<std::ptrdiff_t>(lo);
    const auto last = names_.begin() + static_cast<std::ptrdiff_t>(hi);
    const auto from = std::lower_bound(first, last, c, [depth](std::string_view name, char b) {
      return byte_less(name[depth], b);
    });
    const auto to = std::upper_bound(from, last, c, [depth](char b, std::string_view name) {
      return byte_less(b, name[depth]);
    });
    lo = static_cast<size_t>(from - names_.begin());
    hi = static_cast<size_t>(to - names_.begin());
  }
}

template <class F>
void line_cutter::table_items_at(pos head, F&& on_item) {
  // A name there takes text up to the next blank, tab or comma at most. No
  // name stands where a declaring word begins: none begins with one, and a
  // shorter one is followed by a letter. The longest name the text begins
  // with leads to the shorter ones, each of which stands if no name byte
  // follows.
  size_t end = head;
  const size_t limit = std::min<size_t>(size_, head + name_lookup_->max_length());
  while (end < limit && !is_blank_or_tab(upper_[end]) && upper_[end] != ',') ++end;
  std::string_view text(upper_.data() + head, end - head);
  for (std::string_view word : declaring_words) {
    if (std::string_view(upper_).substr(head).starts_with(word)) return;
  }
  for (int32_t id = name_lookup_->longest_in(text); id >= 0; id = name_lookup_->link(id)) {
    const size_t after = head + names_[static_cast<size_t>(id)].size();
    if (after == size_ || !continues_name(line_[after])) on_item(static_cast<pos>(id), head);
  }
}

void line_cutter::cut_out(pos begin, pos end) {
  if (kept_.next(begin) < end) changed_ = true;
  kept_.erase(begin, end);
  solid_.erase(begin, end);
}

pos line_cutter::solid_end_before(pos x) {
  if (x == 0) return 0;
  const size_t last = solid_.previous(x - 1);
  return last == position_set::npos ? 0 : static_cast<pos>(last + 1);
}

pos line_cutter::first_kept_entry(const pos* places, pos* next, pos start, pos end) {
  // Entries whose place is cut are linked past. A link never leads past
  // `end`: it is set to a root found before it, or to the entry after.
  pos root = start;
  while (root < end) {
    if (next[root] != root) {
      root = next[root];
    } else if (kept(places[root])) {
      break;
    } else {
      next[root] = root + 1;
      ++root;
    }
  }
  for (pos e = start; e != root;) {
    const pos up = next[e];
    next[e] = root;
    e = up;
  }
  return root;
}

pos line_cutter::first_item_from(pos name, pos from) {
  const pos where = places_of_[name];
  pos found = kNone;
  if ((where & kMany) == 0) {  // one place
    if (where >= from && kept(where)) found = where;
  } else if (where != kNone) {
    const pos begin = item_begin_[where & ~kMany];
    const pos end = item_begin_[(where & ~kMany) + 1];
    const pos* places = item_places_.data();
    const pos start =
        static_cast<pos>(std::lower_bound(places + begin, places + end, from) - places);
    const pos entry = first_kept_entry(places, item_next_.data(), start, end);
    if (entry < end) found = places[entry];
  }
  if (gained_.empty()) return found;
  const auto gained = gained_.find(name);
  if (gained == gained_.end()) return found;
  gained_places& extra = gained->second;
  const pos extra_end = static_cast<pos>(extra.places.size());
  const pos extra_start = static_cast<pos>(
      std::lower_bound(extra.places.begin(), extra.places.end(), from) - extra.places.begin());
  const pos extra_entry =
      first_kept_entry(extra.places.data(), extra.next.data(), extra_start, extra_end);
  return extra_entry < extra_end ? std::min(found, extra.places[extra_entry]) : found;
}

// The words run on through text that no cut has touched: the first item
// left and what follows it up to its comma, where no word can continue.
void line_cutter::add_places_after_words(pos at) {
  std::vector<std::pair<pos, pos>> found;
  size_t x = at;
  while (declaring_word_at(line_, x, &x) > 0) {
    size_t head = x;
    while (head < size_ && is_blank_or_tab(line_[head])) ++head;
    if (head < size_) {
      items_at(static_cast<pos>(head),
               [&](pos name, pos place) { found.emplace_back(name, place); });
    }
  }
  for (const auto& [name, place] : found) {
    gained_places& extra = gained_[name];
    // Places come in ascending order, past every one gained before.
    extra.places.push_back(place);
    extra.next.push_back(static_cast<pos>(extra.next.size()));
  }
}

void line_cutter::cut_all() {
  for (size_t i = 0; i < cuts_.size(); ++i) {
    const shared_cut cut = cuts_[i];
    if (cut.name.empty()) continue;  // an empty name never stands
    const pos p = first_item_from(name_number(cut.name), 0);
    if (p == kNone) continue;
    const pos end = p + static_cast<pos>(cut.name.size());
    const pos before = solid_end_before(p);
    const bool comma_before = before > 0 && line_[before - 1] == ',';
    // Without a comma before it, the item before went with that comma: this
    // is the first item left.
    const bool previous_shares = cut.previous_shares && comma_before;

    pos q = 0;            // where the next item stands
    pos comma_after = 0;  // the comma before it
    if (cut.next_shares) {
      if (cut.next_name.empty()) continue;
      q = first_item_from(name_number(cut.next_name), end);
      if (q == kNone) continue;
      // An item with a comma anywhere before it stands right after one
      // (blanks aside), which lies after the name since names hold none. An
      // item with no comma before it leaves the line as it is.
      const pos q_before = solid_end_before(q);
      if (q_before == 0 || line_[q_before - 1] != ',') continue;
      comma_after = q_before - 1;
    }

    if (previous_shares && cut.next_shares) {
      cut_out(before - 1, comma_after);
    } else if (previous_shares) {
      cut_out(before - 1, size_);
    } else if (cut.next_shares) {
      cut_out(p, comma_after + 1);
      // An item with no comma before it was the first after the declaring
      // words, which may now run on into the next one.
      if (!comma_before) add_places_after_words(q);
    } else {
      cut_out(0, size_);  // it was the last item left
    }
  }
}

size_t line_cutter::write(char* out) const {
  if (!changed_) {
    if (size_ > 0) std::memcpy(out, line_.data(), size_);
    return size_;
  }
  size_t n = 0;
  for (size_t x = kept_.next(0); x < size_; x = kept_.next(x + 1)) out[n++] = line_[x];
  return n;
}

}  // namespace

void cut_shared_items(std::string& line, const std::vector<shared_cut>& cuts) {
  std::string text(line.size(), '\0');
  text.resize(write_cut_line(line, listed_cuts(cuts), text.data()));
  line = std::move(text);
}

size_t write_cut_line(std::string_view line, const shared_cut_list& cuts, char* out) {
  // Places and item entries are counted in 32 bits.
  const size_t count = cuts.size();
  bool together = line.size() < (size_t{1} << 30) && count < (size_t{1} << 28);
  for (size_t i = 0; together && i < count; ++i) {
    const shared_cut cut = cuts[i];
    together = as_scanned(cut.name) && as_scanned(cut.next_name);
  }
  if (!together) {
    std::string text(line);
    for (size_t i = 0; i < count; ++i) {
      const shared_cut cut = cuts[i];
      cut_shared_item(text, cut.name, cut.previous_shares, cut.next_shares, cut.next_name);
    }
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
    return text.size();
  }
  line_cutter cutter(line, cuts);
  cutter.cut_all();
  return cutter.write(out);
}
