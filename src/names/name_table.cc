// Building the name table: the hash slots and each name's link to the longest
// shorter name that begins or ends it.
#include "names/name_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

// Whether n bytes can be told in 32 bits (always, where size_t has 32).
bool fits_in_32_bits(uint64_t n) { return n <= UINT32_MAX; }

}  // namespace

name_table::name_table(std::span<const std::string_view> names, links kind) : kind_(kind) {
  size_t total = 0;
  for (std::string_view name : names) total += name.size();
  // Offsets are told in 32 bits.
  if (!fits_in_32_bits(total)) throw std::bad_alloc();
  begin_.reserve(names.size() + 1);
  begin_.push_back(0);
  bytes_.reserve(total);
  for (std::string_view name : names) {
    bytes_.append(name);
    begin_.push_back(static_cast<uint32_t>(bytes_.size()));
  }
  build(names.size(), nullptr);
}

name_table::name_table(const packed_views& views, size_t first, links kind,
                       const std::function<void(int32_t id, int32_t first)>& on_first_equal)
    : views_(&views), first_view_(first), kind_(kind) {
  build(views.size() - first, on_first_equal);
}

name_table::name_table(const char* block, size_t count,
                       const std::function<std::string_view(int32_t)>& name_of, links kind,
                       const std::function<void(int32_t id, int32_t first)>& on_first_equal)
    : block_(block), kind_(kind) {
  at_.reserve(count);
  lengths_.reserve(count);
  for (size_t id = 0; id < count; ++id) {
    const std::string_view name = name_of(static_cast<int32_t>(id));
    // Where the name begins, told in 31 bits (a name before the block
    // would be told by a number past them).
    const auto at = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(name.data()) -
                                          reinterpret_cast<uintptr_t>(block));
    if (at < kApart && name.size() <= UINT8_MAX) {
      at_.push_back(static_cast<uint32_t>(at));
      lengths_.push_back(static_cast<uint8_t>(name.size()));
    } else {
      at_.push_back(kApart | static_cast<uint32_t>(apart_.size()));
      lengths_.push_back(0);
      apart_.push_back(name);
    }
  }
  build(count, on_first_equal);
}

void name_table::build(size_t count,
                       const std::function<void(int32_t, int32_t)>& on_first_equal) {
  for (size_t id = 0; id < count; ++id) {
    max_length_ = std::max(max_length_, name(static_cast<int32_t>(id)).size());
  }
  fit_.assign(max_length_ + 1, 0);
  end_bytes_.assign(max_length_ + 1, std::array<uint64_t, 4>{});
  has_link_.assign(count / 64 + 1, 0);
  links_before_.assign(count / 64 + 1, 0);

  powers_.assign(max_length_ + 1, 1);
  for (size_t n = 1; n <= max_length_; ++n) powers_[n] = powers_[n - 1] * name_hash::kBase;
  own_hashes_.resize(max_length_ + 1);

  const size_t capacity = count + count / 2 + 16;
  // A slot is picked from the top 32 bits of a hash.
  if (!fits_in_32_bits(capacity)) throw std::bad_alloc();
  slots_.assign(capacity, 0);
  slot_total_ = capacity;
  id_bits_ = std::max(1, static_cast<int>(std::bit_width(count)));
  id_mask_ = static_cast<uint32_t>((uint64_t{1} << id_bits_) - 1);

  // Each walk below reads a name once, some ids ahead of its turn, and
  // keeps it (and its hash) until then; the bytes of a name kept in a
  // block are asked for further ahead still, as they lie spread over the
  // script.
  constexpr size_t kAhead = 16;
  struct read_name {
    std::string_view text;
    uint64_t key = 0;
  };
  std::array<read_name, kAhead> ahead;
  auto prefetch_name = [&](size_t id) {
    if (block_ == nullptr || id >= count) return;
    const uint32_t at = at_[id];
    if ((at & kApart) == 0) prefetch(block_ + at);
  };

  // Ids go in ascending, so a repeated name keeps its smallest id. The
  // slots are asked for as their names are read.
  auto read_for_slot = [&](size_t id) {
    read_name& entry = ahead[id % kAhead];
    prefetch_name(id + kAhead);
    entry.text = name(static_cast<int32_t>(id));
    entry.key = end_key(entry.text, entry.text.size());
    prefetch(&slots_[slot_of(entry.key, entry.text.size())]);
  };
  for (size_t id = 0; id < kAhead; ++id) prefetch_name(id);
  for (size_t id = 0; id < std::min(count, kAhead); ++id) read_for_slot(id);
  for (size_t id = 0; id < count; ++id) {
    const read_name here = ahead[id % kAhead];
    if (id + kAhead < count) read_for_slot(id + kAhead);
    const std::string_view text = here.text;
    if (text.empty()) {
      if (on_first_equal) on_first_equal(static_cast<int32_t>(id), -1);
      continue;
    }
    const uint64_t key = here.key;
    const int32_t earlier = find(key, text);
    const int32_t first = earlier >= 0 ? earlier : static_cast<int32_t>(id);
    if (on_first_equal) on_first_equal(static_cast<int32_t>(id), first);
    if (earlier >= 0) continue;
    size_t s = slot_of(key, text.size());
    while (slots_[s] != 0) s = s + 1 == slot_total_ ? 0 : s + 1;
    slots_[s] = tag_of(key) << id_bits_ | static_cast<uint32_t>(id + 1);
    ++slot_count_;
    fit_[text.size()] = text.size();
    const auto end = static_cast<unsigned char>(kind_ == links::prefixes ? text.back() : text.front());
    end_bytes_[text.size()][end >> 6] |= uint64_t{1} << (end & 63);
  }
  for (size_t n = 1; n <= max_length_; ++n) fit_[n] = std::max(fit_[n], fit_[n - 1]);
  min_length_ = max_length_;
  while (min_length_ > 0 && fit_[min_length_ - 1] > 0) --min_length_;
  if (slot_count_ == 0) min_length_ = 0;

  // Each name's link: the longest shorter name in the table that begins (or
  // ends) it, found the way a scan finds one.
  auto read_for_link = [&](size_t id) {
    read_name& entry = ahead[id % kAhead];
    prefetch_name(id + kAhead);
    const std::string_view text = name(static_cast<int32_t>(id));
    entry.text = {};
    if (text.size() < 2) return;
    entry.text = kind_ == links::prefixes ? text.substr(0, text.size() - 1) : text.substr(1);
    prefetch_longest(entry.text);
  };
  for (size_t id = 0; id < kAhead; ++id) prefetch_name(id);
  for (size_t id = 0; id < std::min(count, kAhead); ++id) read_for_link(id);
  for (size_t id = 0; id < count; ++id) {
    if (id % 64 == 0 && id > 0) {
      links_before_[id / 64] = static_cast<uint32_t>(links_.size());
    }
    const std::string_view shorter = ahead[id % kAhead].text;
    if (id + kAhead < count) read_for_link(id + kAhead);
    if (shorter.empty()) continue;  // a name of fewer than 2 bytes
    const int32_t link = longest_in(shorter);
    if (link < 0) continue;
    has_link_[id / 64] |= uint64_t{1} << (id % 64);
    links_.push_back(link);
  }
}

uint64_t name_table::end_key(std::string_view text, size_t n) const {
  name_hash hash;
  if (kind_ == links::prefixes) {
    for (size_t k = 0; k < n; ++k) hash.append(static_cast<unsigned char>(text[k]));
  } else {
    for (size_t k = text.size() - n; k < text.size(); ++k) {
      hash.append(static_cast<unsigned char>(text[k]));
    }
  }
  return hash.key();
}

void name_table::prefetch_longest(std::string_view text) const {
  const size_t n = fit_[std::min(text.size(), max_length_)];
  if (n > 0) prefetch(&slots_[slot_of(end_key(text, n), n)]);
}

size_t name_table::slot_of(uint64_t key, size_t length) const {
  const uint64_t mixed = (key ^ (length * 0xC2B2AE3D27D4EB4Full)) * 0x9E3779B97F4A7C15ull;
  return static_cast<size_t>(((mixed >> 32) * slot_total_) >> 32);
}

int32_t name_table::find(uint64_t key, std::string_view text) const {
  const uint32_t tag = tag_of(key);
  for (size_t s = slot_of(key, text.size());; s = s + 1 == slot_total_ ? 0 : s + 1) {
    const uint32_t entry = slots_[s];
    if (entry == 0) return -1;
    if (entry >> id_bits_ != tag) continue;
    const auto id = static_cast<int32_t>((entry & id_mask_) - 1);
    std::string_view candidate = name(id);
    if (candidate.size() == text.size() &&
        std::memcmp(candidate.data(), text.data(), text.size()) == 0) {
      return id;
    }
  }
}

void name_table::hash_ends(std::string_view text, size_t n, links kind,
                           std::vector<uint64_t>& hashes) const {
  name_hash hash;
  if (kind == links::prefixes) {
    for (size_t k = 0; k < n; ++k) {
      hash.append(static_cast<unsigned char>(text[k]));
      hashes[k + 1] = hash.key();
    }
  } else {
    for (size_t k = 0; k < n; ++k) {
      hash.prepend(static_cast<unsigned char>(text[text.size() - 1 - k]), powers_[k]);
      hashes[k + 1] = hash.key();
    }
  }
}

int32_t name_table::longest_in(std::string_view text, std::vector<uint64_t>& hashes) const {
  // Only as many bytes as the longest name that fits are hashed.
  size_t n = fit_[std::min(text.size(), max_length_)];
  if (n == 0) return -1;
  if (hashes.size() <= n) hashes.resize(max_length_ + 1);
  hash_ends(text, n, kind_, hashes);
  for (; n > 0; n = fit_[n - 1]) {
    std::string_view end =
        kind_ == links::prefixes ? text.substr(0, n) : text.substr(text.size() - n);
    if (!may_be_name(end)) continue;
    int32_t id = find(hashes[n], end);
    if (id >= 0) return id;
  }
  return -1;
}
