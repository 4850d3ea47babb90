// A flat table of names compared as AutoIt compares them (a-z and A-Z
// alike), each with a number in the order added. Names hold only letters,
// digits and "_", for which setting bit 0x20 folds the case.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace minify {

class name_index {
 public:
  static constexpr uint32_t npos = UINT32_MAX;

  size_t size() const { return keys_.size(); }
  std::string_view key(uint32_t id) const { return keys_[id]; }

  // The name's number; npos when it was never added.
  uint32_t find(std::string_view name) const { return find(name, hash(name)); }
  // As find, with the name's hash given: its text is read only where a
  // name of the same hash stands.
  uint32_t find(std::string_view name, uint32_t h) const {
    if (keys_.empty()) return npos;
    for (size_t at = h & mask_;; at = (at + 1) & mask_) {
      const slot& s = slots_[at];
      if (s.id == npos) return npos;
      if (s.hash == h && same(keys_[s.id], name)) return s.id;
    }
  }
  bool contains(std::string_view name, uint32_t h) const { return find(name, h) != npos; }

  // The name's number, the next one when it is new (*added then true).
  uint32_t insert(std::string_view name, bool* added) { return insert(name, hash(name), added); }
  // As insert, with the name's hash given.
  uint32_t insert(std::string_view name, uint32_t h, bool* added) {
    if ((keys_.size() + 1) * 2 > slots_.size()) grow();
    size_t at = h & mask_;
    for (;; at = (at + 1) & mask_) {
      const slot& s = slots_[at];
      if (s.id == npos) break;
      if (s.hash == h && same(keys_[s.id], name)) {
        *added = false;
        return s.id;
      }
    }
    const uint32_t id = static_cast<uint32_t>(keys_.size());
    slots_[at] = {h, id};
    keys_.push_back(name);
    *added = true;
    return id;
  }

  // Room for n names in all, made at once: a table that grows name by name
  // holds its old room beside the new for a while.
  void reserve(size_t n) {
    keys_.reserve(n);
    while ((n + 1) * 2 > slots_.size()) grow();
  }

  // The keys, in number order, taken out of the table, which is left empty:
  // a table done with its look-ups lets its room go before its keys.
  std::vector<std::string_view> take_keys() && {
    std::vector<std::string_view> keys = std::move(keys_);
    *this = name_index();
    return keys;
  }

  // Asks for the place where a name of hash h would be looked for first,
  // ahead of looking.
  void prefetch(uint32_t h) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[h & mask_]);
  }

  // A name's hash, the same for every letter case.
  static uint32_t hash(std::string_view name) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ name.size();
    size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
      h = (h ^ (load(name.data() + i) | kFold)) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    if (i < name.size()) h ^= load_tail(name.data(), name.size()) | kFold;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return static_cast<uint32_t>(h);
  }

  static bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    size_t i = 0;
    for (; i + 8 <= a.size(); i += 8) {
      if ((load(a.data() + i) | kFold) != (load(b.data() + i) | kFold)) return false;
    }
    if (i == a.size()) return true;
    // The last bytes, read as one word whatever their number.
    return (load_tail(a.data(), a.size()) | kFold) == (load_tail(b.data(), b.size()) | kFold);
  }

 private:
  struct slot {
    uint32_t hash;
    uint32_t id;
  };
  static constexpr uint64_t kFold = 0x2020202020202020ull;

  static uint64_t load(const char* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
  }
  // The last bytes of [p, p + size), size at least 1: the last 8 when
  // there are so many, else all of them as a few overlapping loads (no byte
  // outside is read).
  static uint64_t load_tail(const char* p, size_t size) {
    if (size >= 8) return load(p + size - 8);
    if (size >= 4) {
      uint32_t low;
      uint32_t high;
      std::memcpy(&low, p, 4);
      std::memcpy(&high, p + size - 4, 4);
      return low | (uint64_t{high} << 32);
    }
    return static_cast<uint64_t>(static_cast<unsigned char>(p[0])) |
           static_cast<uint64_t>(static_cast<unsigned char>(p[size / 2])) << 8 |
           static_cast<uint64_t>(static_cast<unsigned char>(p[size - 1])) << 16;
  }
  void grow() {
    const size_t size = slots_.empty() ? 64 : slots_.size() * 2;
    std::vector<slot> old(size, slot{0, npos});
    old.swap(slots_);
    mask_ = size - 1;
    for (const slot& s : old) {
      if (s.id == npos) continue;
      size_t at = s.hash & mask_;
      while (slots_[at].id != npos) at = (at + 1) & mask_;
      slots_[at] = s;
    }
  }

  std::vector<slot> slots_;
  size_t mask_ = 0;
  std::vector<std::string_view> keys_;
};

}  // namespace minify
