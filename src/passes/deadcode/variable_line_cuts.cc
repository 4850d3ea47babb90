#include "passes/deadcode/variable_line_cuts.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "passes/deadcode/name_table.h"
#include "passes/deadcode/position_set.h"
#include "passes/deadcode/variable_cut.h"
#include "passes/deadcode/variable_scan.h"
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

class line_cutter {
 public:
  line_cutter(std::string_view line, const std::vector<shared_cut>& cuts);

  void cut_all();

  bool changed() const { return changed_; }
  std::string text() const;

 private:
  void find_items();
  // Every name that stands at `head`, as (name number, head).
  void items_at(pos head, std::vector<std::pair<pos, pos>>& found);
  void sorted_items_at(pos head, std::vector<std::pair<pos, pos>>& found) const;
  pos name_number(std::string_view name) const;

  bool kept(pos x) const { return kept_.contains(x); }
  void cut_out(pos begin, pos end);
  // The largest j <= x such that j is 0 or byte j - 1 is kept and not blank.
  pos solid_end_before(pos x);
  // The first kept place at or after `from` where name stands; kNone if none.
  pos first_item_from(pos name, pos from);
  // The first entry from `start` on whose place is kept, in a list of
  // places ending with kNone and its skip links.
  pos first_kept_entry(const pos* places, pos* next, pos start);
  // The declaring words now run on from `at`, the first item left: records
  // the names that stand after each word they gain.
  void add_places_after_words(pos at);

  std::string_view line_;
  pos size_;
  const std::vector<shared_cut>& cuts_;
  bool changed_ = false;

  // The names to look for. A few are sorted, each once, and walked byte by
  // byte; many are looked up by hash in an upper-case copy of the line
  // (walking the sorted names would cost a binary search per byte), each
  // numbered as the first name equal to it.
  std::vector<std::string_view> names_;
  std::optional<name_table> name_lookup_;
  std::string upper_;
  // The places where name k stands, ascending, then kNone:
  // item_places_[item_begin_[k] .. item_begin_[k + 1]).
  std::vector<pos> item_begin_;
  std::vector<pos> item_places_;
  // item_next_[e] != e: entries e .. item_next_[e] - 1 are known to be cut.
  std::vector<pos> item_next_;
  // Places gained when the declaring words ran on, per name, in the same
  // form: ascending, then kNone, with their own skip links.
  struct gained_places {
    std::vector<pos> places{kNone};
    std::vector<pos> next{0};
  };
  std::unordered_map<pos, gained_places> gained_;
  // The bytes kept (and the end, always), and those of them that are not
  // blank: a bit per byte each.
  position_set kept_;
  position_set solid_;
};

line_cutter::line_cutter(std::string_view line, const std::vector<shared_cut>& cuts)
    : line_(line),
      size_(static_cast<pos>(line.size())),
      cuts_(cuts),
      kept_(size_t{size_} + 1, [](size_t) { return true; }),
      solid_(size_, [&](size_t x) { return !is_blank_or_tab(line[x]); }) {
  // The next name is mostly the next cut's own, which is listed anyway.
  names_.reserve(cuts.size() + 1);
  for (size_t i = 0; i < cuts.size(); ++i) {
    if (cuts[i].name.empty()) continue;
    names_.push_back(cuts[i].name);
    const std::string_view next = cuts[i].next_name;
    if (cuts[i].next_shares && !next.empty() && (i + 1 == cuts.size() || cuts[i + 1].name != next)) {
      names_.push_back(next);
    }
  }
  if (names_.size() >= kNamesForLookup) {
    // The table numbers equal names as the first of them: no sort needed.
    name_lookup_.emplace(names_, name_table::links::prefixes);
    upper_ = upper_copy(line_);
  } else {
    std::sort(names_.begin(), names_.end());
    names_.erase(std::unique(names_.begin(), names_.end()), names_.end());
  }
  find_items();
}

pos line_cutter::name_number(std::string_view name) const {
  if (name_lookup_) return static_cast<pos>(name_lookup_->find(name));
  return static_cast<pos>(std::lower_bound(names_.begin(), names_.end(), name) - names_.begin());
}

// Names stand at the first non-blank byte after a comma or after a
// declaring word of the run that begins the line: one such byte per comma
// and per word.
void line_cutter::find_items() {
  const std::vector<pos> word_ends = declaring_word_ends(line_);
  std::vector<std::pair<pos, pos>> found;  // (name, place), places ascending
  size_t w = 0;
  pos non_blank = 0;
  char last = 0;
  for (pos x = 0; x < size_; ++x) {
    const char c = line_[x];
    if (is_blank_or_tab(c)) continue;
    while (w < word_ends.size() && word_ends[w] < non_blank) ++w;
    const bool after_words = w < word_ends.size() && word_ends[w] == non_blank;
    if ((non_blank > 0 && last == ',') || after_words) items_at(x, found);
    ++non_blank;
    last = c;
  }

  std::vector<pos> counts(names_.size(), 0);
  for (const auto& [name, place] : found) ++counts[name];
  item_begin_.assign(names_.size() + 1, 0);
  for (size_t k = 0; k < names_.size(); ++k) item_begin_[k + 1] = item_begin_[k] + counts[k] + 1;
  item_places_.assign(item_begin_.back(), kNone);
  std::vector<pos> fill(item_begin_.begin(), item_begin_.end() - 1);
  for (const auto& [name, place] : found) item_places_[fill[name]++] = place;
  item_next_.resize(item_places_.size());
  std::iota(item_next_.begin(), item_next_.end(), pos{0});
}

// Walks the sorted names byte by byte, keeping the range that begins with
// the bytes read so far. Names hold no comma, so the walk ends before the
// next place where a name could stand (or, at a declaring word, within the
// word, which no name begins with).
void line_cutter::sorted_items_at(pos head, std::vector<std::pair<pos, pos>>& found) const {
  size_t lo = 0;
  size_t hi = names_.size();
  for (size_t depth = 0;; ++depth) {
    const size_t end = head + depth;
    if (lo < hi && names_[lo].size() == depth) {
      if (end == size_ || !continues_name(line_[end])) found.emplace_back(lo, head);
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

void line_cutter::items_at(pos head, std::vector<std::pair<pos, pos>>& found) {
  if (!name_lookup_) {
    sorted_items_at(head, found);
    return;
  }
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
    if (after == size_ || !continues_name(line_[after])) {
      found.emplace_back(static_cast<pos>(id), head);
    }
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

pos line_cutter::first_kept_entry(const pos* places, pos* next, pos start) {
  // Entries whose place is cut are linked past, the closing kNone never is.
  pos root = start;
  for (;;) {
    if (next[root] != root) {
      root = next[root];
    } else if (places[root] == kNone || kept(places[root])) {
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
  const auto first = item_places_.begin() + item_begin_[name];
  const auto last = item_places_.begin() + item_begin_[name + 1];
  const pos start = static_cast<pos>(std::lower_bound(first, last, from) - item_places_.begin());
  pos found = item_places_[first_kept_entry(item_places_.data(), item_next_.data(), start)];
  if (gained_.empty()) return found;
  const auto gained = gained_.find(name);
  if (gained == gained_.end()) return found;
  gained_places& extra = gained->second;
  const pos extra_start = static_cast<pos>(
      std::lower_bound(extra.places.begin(), extra.places.end(), from) - extra.places.begin());
  return std::min(found,
                  extra.places[first_kept_entry(extra.places.data(), extra.next.data(),
                                                extra_start)]);
}

// The words run on through text that no cut has touched: the first item
// left and what follows it up to its comma, where no word can continue.
void line_cutter::add_places_after_words(pos at) {
  std::vector<std::pair<pos, pos>> found;
  size_t x = at;
  while (declaring_word_at(line_, x, &x) > 0) {
    size_t head = x;
    while (head < size_ && is_blank_or_tab(line_[head])) ++head;
    if (head < size_) items_at(static_cast<pos>(head), found);
  }
  for (const auto& [name, place] : found) {
    gained_places& extra = gained_[name];
    // Places come in ascending order, past every one gained before.
    extra.places.back() = place;
    extra.places.push_back(kNone);
    extra.next.push_back(static_cast<pos>(extra.next.size()));
  }
}

void line_cutter::cut_all() {
  for (size_t i = 0; i < cuts_.size(); ++i) {
    const shared_cut& cut = cuts_[i];
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

std::string line_cutter::text() const {
  std::string kept_text;
  kept_text.reserve(size_);
  for (size_t x = kept_.next(0); x < size_; x = kept_.next(x + 1)) kept_text.push_back(line_[x]);
  return kept_text;
}

}  // namespace

void cut_shared_items(std::string& line, const std::vector<shared_cut>& cuts) {
  // Places and item entries are counted in 32 bits.
  bool together = line.size() < (size_t{1} << 30) && cuts.size() < (size_t{1} << 28);
  for (const shared_cut& cut : cuts) {
    together = together && as_scanned(cut.name) && as_scanned(cut.next_name);
  }
  if (!together) {
    for (const shared_cut& cut : cuts) {
      cut_shared_item(line, cut.name, cut.previous_shares, cut.next_shares, cut.next_name);
    }
    return;
  }
  line_cutter cutter(line, cuts);
  cutter.cut_all();
  if (cutter.changed()) line = cutter.text();
}
