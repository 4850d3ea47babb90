// Names looked up by hash where they can stand, each linked to the longest
// shorter name that begins or ends it.

// Names looked up by hash from the places where they can stand, instead of
// walking an automaton over every byte: a variable name begins at a "$" and
// a function name ends before a "(" or is a whole word, so the dead-code
// passes find the text a name would take there and ask the table. The
// names that begin (or end) such a text form one chain: each name is linked
// to the longest shorter name that begins (or ends) it, so the longest one
// found leads to all the others. The cost of a look-up is the length of the
// text it hashes, whatever the names look like; memory is a four-byte slot
// and a half per name, a link per name that has one, and the names' bytes
// unless the caller keeps them: nothing more for a list of views, 5 bytes
// a name for names that stand in one block of text.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ascii_case.h"
#include "script/packed_view.h"

// Whether text is made of word bytes only, at least one.
inline bool is_word(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), is_word_byte);
}

// The end of the run of word bytes that starts at `from`.
inline size_t word_run_end(std::string_view text, size_t from) {
  while (from < text.size() && is_word_byte(text[from])) ++from;
  return from;
}

// Asks for the memory at `address` to be read ahead of its use, where the
// compiler offers a way; reads that wait on one another in turn then
// overlap.
inline void prefetch(const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

// A polynomial hash of byte strings that can be extended at either end,
// modulo 2^64. Equal hashes only say where to compare bytes: a collision
// costs a comparison, never a wrong result.
class name_hash {
 public:
  // The hash of text + byte.
  void append(unsigned char byte) { value_ = value_ * kBase + byte + 1; }
  // The hash of byte + text, given the base raised to text's length.
  void prepend(unsigned char byte, uint64_t power) { value_ += (byte + uint64_t{1}) * power; }
  uint64_t key() const { return value_; }

  static constexpr uint64_t kBase = 0x100000001B3ull;

 private:
  uint64_t value_ = 0;
};

class name_table {
 public:
  // Which names a name is linked to: the longest shorter name that begins
  // it, or the longest shorter name that ends it.
  enum class links { prefixes, suffixes };

  // Names may repeat (the smallest id wins) and may be empty (never found).
  // The table copies them: the look-ups then read a few compact lists
  // instead of the lines spread over the script.
  name_table(std::span<const std::string_view> names, links kind);
  // The constructors below take on_first_equal: when given, the table hands
  // it each id with the smallest id of a name equal to it (-1 for an empty
  // name), in ascending order as it is built.
  // The names where they stand, name `id` being views[first + id] for ids
  // 0 .. views.size() - first - 1: for a caller that keeps a list of views
  // anyway (the variables' names), whose copy would cost more than the rest
  // of the table. The list and its text must outlive the table, unchanged.
  name_table(const packed_views& views, size_t first, links kind,
             const std::function<void(int32_t id, int32_t first)>& on_first_equal = nullptr);

  // Names that are parts of one block of text (the normalized copy), name
  // `id` being name_of(id) for ids 0 .. count - 1, asked for once each: the
  // table keeps where a name begins in the block and its length, 5 bytes,
  // where a view would take 8 and a copy more (the look-ups then read the
  // names spread over the script's lines). A length that a byte does not
  // hold, or a name outside the block's first 2 GB, is kept apart as a
  // view; the normalized copy is smaller, and names are seldom that long.
  // The block must outlive the table, unchanged where it holds the names.
  name_table(const char* block, size_t count,
             const std::function<std::string_view(int32_t)>& name_of, links kind,
             const std::function<void(int32_t id, int32_t first)>& on_first_equal = nullptr);

  // The smallest id of a name equal to text; -1 when there is none.
  int32_t find(std::string_view text) const {
    if (!has_length(text.size()) || !may_be_name(text)) return -1;  // most texts fail here
    name_hash hash;
    for (char c : text) hash.append(static_cast<unsigned char>(c));
    return find(hash.key(), text);
  }

  // The longest name that begins text (kind prefixes) or ends it (kind
  // suffixes); -1 when there is none. Costs the length of text, at most the
  // longest name's.
  int32_t longest_in(std::string_view text) { return longest_in(text, own_hashes_); }
  // The same, working in `hashes`: each thread that searches the table at
  // the same time needs a vector of its own.
  int32_t longest_in(std::string_view text, std::vector<uint64_t>& hashes) const;

  // The next shorter name in the chain of `id`; -1 after the last.
  int32_t link(int32_t id) const {
    const auto word = static_cast<size_t>(id) >> 6;
    const uint64_t below = has_link_[word] & ((uint64_t{1} << (id & 63)) - 1);
    if ((has_link_[word] >> (id & 63) & 1) == 0) return -1;
    return links_[links_before_[word] + static_cast<uint32_t>(std::popcount(below))];
  }

  bool empty() const { return slot_count_ == 0; }
  size_t max_length() const { return max_length_; }
  // The length of the shortest name; 0 when there is none. A shorter text
  // begins, ends and equals no name.
  size_t min_length() const { return min_length_; }

 private:
  // The slots and links, for names 0 .. count - 1 (copied or read).
  void build(size_t count, const std::function<void(int32_t, int32_t)>& on_first_equal);
  int32_t find(uint64_t key, std::string_view text) const;
  bool has_length(size_t length) const { return length <= max_length_ && fit_[length] == length; }
  // Whether a name of text's length has text's byte at the end where names
  // of a chain differ (the last for prefixes, the first for suffixes): a
  // look-up that would miss is then mostly spared its slot, which lies far
  // from the last one asked for. No name is empty.
  bool may_be_name(std::string_view text) const {
    if (text.empty()) return false;
    const auto byte = static_cast<unsigned char>(kind_ == links::prefixes ? text.back() : text.front());
    return (end_bytes_[text.size()][byte >> 6] >> (byte & 63) & 1) != 0;
  }
  std::string_view name(int32_t id) const {
    if (views_ != nullptr) return (*views_)[first_view_ + static_cast<size_t>(id)];
    if (block_ != nullptr) {
      const uint32_t at = at_[static_cast<size_t>(id)];
      if ((at & kApart) != 0) return apart_[at & ~kApart];
      return {block_ + at, lengths_[static_cast<size_t>(id)]};
    }
    return {bytes_.data() + begin_[id], begin_[id + 1] - begin_[id]};
  }
  size_t slot_of(uint64_t key, size_t length) const;
  // Asks for the memory that longest_in(text) reads first.
  void prefetch_longest(std::string_view text) const;
  // The hash of the first (kind prefixes) or last n bytes of text.
  uint64_t end_key(std::string_view text, size_t n) const;
  // The hash of every prefix (or suffix) of text up to length n (at most
  // the longest name's): hashes[k] is the one of length k.
  void hash_ends(std::string_view text, size_t n, links kind, std::vector<uint64_t>& hashes) const;

  // The names: read from views_ or from block_ when given, else copied
  // into bytes_, name id's bytes being [begin_[id], begin_[id + 1]). The
  // names of a table are parts of the normalized copy, whose size fits in
  // 32 bits.
  const packed_views* views_ = nullptr;
  size_t first_view_ = 0;
  // From block_: name id is the lengths_[id] bytes at block_ + at_[id], or
  // apart_[at_[id] & ~kApart] when that bit is set. The length is kept
  // rather than found again as the run of word bytes there: a look-up that
  // finds a name compares it whole, where measuring it would walk it byte
  // by byte, which costs long names much more than the byte.
  static constexpr uint32_t kApart = uint32_t{1} << 31;
  const char* block_ = nullptr;
  std::vector<uint32_t> at_;
  std::vector<uint8_t> lengths_;
  std::vector<std::string_view> apart_;
  std::string bytes_;
  std::vector<uint32_t> begin_;
  // The links, kept for the names that have one (few, for most tables of
  // function names): a bit per name says which, and links_before_[w] counts
  // those of the names before word w of the bits. A deque grows without
  // copying what it holds.
  std::vector<uint64_t> has_link_;
  std::vector<uint32_t> links_before_;
  std::deque<int32_t> links_;
  // end_bytes_[n]: the bytes that names of length n have at the end that
  // may_be_name looks at, a bit each.
  std::vector<std::array<uint64_t, 4>> end_bytes_;
  // fit_[n]: the greatest length of a name that is at most n; 0 when none.
  std::vector<size_t> fit_;
  size_t max_length_ = 0;
  size_t min_length_ = 0;
  links kind_;

  // A slot is a word: the name's id plus one (0: empty) in its low id_bits_
  // bits, and the top bits of the name's hash in the others, which spare
  // most byte comparisons of other names (all but one in 4096 for a table
  // of a million names, one in 65536 for 65,535 names or fewer).
  uint32_t tag_of(uint64_t key) const { return static_cast<uint32_t>(key >> (32 + id_bits_)); }
  int id_bits_ = 1;
  uint32_t id_mask_ = 1;
  // Filled to two thirds at most, whatever the number of names: a size
  // that doubles would leave up to three quarters of them empty.
  std::vector<uint32_t> slots_;
  size_t slot_total_ = 0;
  size_t slot_count_ = 0;

  std::vector<uint64_t> powers_;  // kBase raised to 0 .. max_length_
  std::vector<uint64_t> own_hashes_;
};
