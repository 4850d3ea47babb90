// Building the matcher's automaton: the trie of the names, its failure links
// and the names each state ends.
#include "names/name_matcher.h"

#include <utility>

namespace {

// The trie's edges while it is built: (state, byte) -> target, in an open
// addressing table that doubles when half full.
class edge_table {
 public:
  // The target of the edge; when there is none yet, it is added with `fresh`.
  int32_t find_or_add(int32_t state, unsigned char byte, int32_t fresh, bool* added) {
    if (2 * (used_ + 1) > keys_.size()) grow();
    uint64_t key = (static_cast<uint64_t>(state) << 8) | byte;
    size_t slot = slot_of(key);
    while (keys_[slot] != key) {
      if (keys_[slot] == kEmpty) {
        keys_[slot] = key;
        targets_[slot] = fresh;
        ++used_;
        *added = true;
        return fresh;
      }
      slot = (slot + 1) & (keys_.size() - 1);
    }
    *added = false;
    return targets_[slot];
  }

 private:
  static constexpr uint64_t kEmpty = ~0ull;

  size_t slot_of(uint64_t key) const { return (key * 0x9E3779B97F4A7C15ull) >> shift_; }

  void grow() {
    std::vector<uint64_t> old_keys(keys_.empty() ? 512 : 2 * keys_.size(), kEmpty);
    std::vector<int32_t> old_targets(old_keys.size());
    old_keys.swap(keys_);
    old_targets.swap(targets_);
    shift_ = 64;
    for (size_t capacity = keys_.size(); capacity > 1; capacity /= 2) --shift_;
    for (size_t k = 0; k < old_keys.size(); ++k) {
      if (old_keys[k] == kEmpty) continue;
      size_t slot = slot_of(old_keys[k]);
      while (keys_[slot] != kEmpty) slot = (slot + 1) & (keys_.size() - 1);
      keys_[slot] = old_keys[k];
      targets_[slot] = old_targets[k];
    }
  }

  std::vector<uint64_t> keys_;
  std::vector<int32_t> targets_;
  size_t used_ = 0;
  int shift_ = 64;
};

}  // namespace

name_matcher::name_matcher(const std::vector<std::string>& names) { build(names, nullptr); }

name_matcher::name_matcher(const std::vector<std::string>& names, const match_bounds& bounds) {
  build(names, &bounds);
}

void name_matcher::build(const std::vector<std::string>& names, const match_bounds* bounds) {
  // The trie: state 0 is the start, every other state has one incoming edge,
  // from parent[s] over the byte via[s].
  std::vector<int32_t> parent{0};
  std::vector<unsigned char> via{0};
  std::vector<int32_t> end_state(names.size(), -1);
  name_lengths_.reserve(names.size());
  {
    edge_table trie_edges;
    for (size_t id = 0; id < names.size(); ++id) {
      name_lengths_.push_back(names[id].size());
      if (names[id].empty()) continue;
      int32_t state = 0;
      for (char c : names[id]) {
        auto byte = static_cast<unsigned char>(c);
        bool added = false;
        int32_t next =
            trie_edges.find_or_add(state, byte, static_cast<int32_t>(parent.size()), &added);
        if (added) {
          parent.push_back(state);
          via.push_back(byte);
        }
        state = next;
      }
      end_state[id] = state;
    }
  }
  const auto states = static_cast<int32_t>(parent.size());

  // Edges grouped by source state and sorted by byte: a counting sort by
  // byte, then a stable one by source state.
  std::vector<int32_t> by_byte(states > 0 ? states - 1 : 0);
  {
    std::array<int32_t, 257> slot{};
    for (int32_t s = 1; s < states; ++s) ++slot[via[s] + 1];
    for (int b = 0; b < 256; ++b) slot[b + 1] += slot[b];
    for (int32_t s = 1; s < states; ++s) by_byte[slot[via[s]]++] = s;
  }
  edge_begin_.assign(states + 1, 0);
  for (int32_t s = 1; s < states; ++s) ++edge_begin_[parent[s] + 1];
  for (int32_t s = 0; s < states; ++s) edge_begin_[s + 1] += edge_begin_[s];
  edge_byte_.resize(by_byte.size());
  edge_target_.resize(by_byte.size());
  {
    std::vector<int32_t> next_slot(edge_begin_.begin(), edge_begin_.end() - 1);
    for (int32_t s : by_byte) {
      int32_t e = next_slot[parent[s]]++;
      edge_byte_[e] = via[s];
      edge_target_[e] = s;
    }
  }

  // Names grouped by the state where they end, in id order.
  output_begin_.assign(states + 1, 0);
  for (int32_t state : end_state) {
    if (state >= 0) ++output_begin_[state + 1];
  }
  for (int32_t s = 0; s < states; ++s) output_begin_[s + 1] += output_begin_[s];
  output_ids_.resize(output_begin_[states]);
  {
    std::vector<int32_t> next_slot(output_begin_.begin(), output_begin_.end() - 1);
    for (size_t id = 0; id < end_state.size(); ++id) {
      if (end_state[id] >= 0) output_ids_[next_slot[end_state[id]]++] = static_cast<int32_t>(id);
    }
  }

  // Failure and report links, shallow states first so that every link points
  // to a state already finished.
  fail_.assign(states, 0);
  report_.assign(states, -1);
  depth_.assign(states, 0);
  std::vector<int32_t> queue;
  queue.reserve(states);
  for (int32_t e = edge_begin_[0]; e < edge_begin_[1]; ++e) {
    root_next_[edge_byte_[e]] = edge_target_[e];
    depth_[edge_target_[e]] = 1;
    queue.push_back(edge_target_[e]);
  }
  for (size_t head = 0; head < queue.size(); ++head) {
    int32_t s = queue[head];
    report_[s] = has_names(s) ? s : report_[fail_[s]];
    for (int32_t e = edge_begin_[s]; e < edge_begin_[s + 1]; ++e) {
      fail_[edge_target_[e]] = next_state(fail_[s], edge_byte_[e]);
      depth_[edge_target_[e]] = depth_[s] + 1;
      queue.push_back(edge_target_[e]);
    }
  }
  if (bounds == nullptr) return;

  // The byte before a state's failure target inside the state's own text is
  // the last byte of its ancestor at depth (its depth - the target's depth):
  // found on the path of a depth-first walk.
  bounded_ = true;
  bounds_ = *bounds;
  std::vector<bool> free_before_fail(states, false);
  {
    std::vector<unsigned char> path_bytes(1, 0);
    std::vector<std::pair<int32_t, int32_t>> walk{{0, edge_begin_[0]}};  // state, next edge
    while (!walk.empty()) {
      auto& [s, e] = walk.back();
      if (e == edge_begin_[s + 1]) {
        walk.pop_back();
        path_bytes.pop_back();
        continue;
      }
      int32_t t = edge_target_[e];
      path_bytes.push_back(edge_byte_[e]);
      ++e;
      free_before_fail[t] = bounds->before[path_bytes[depth_[t] - depth_[fail_[t]]]];
      walk.emplace_back(t, edge_begin_[t]);
    }
  }
  bounded_link_.assign(states, -1);
  for (int32_t s : queue) {
    int32_t t = fail_[s];
    bounded_link_[s] = has_names(t) && free_before_fail[s] ? t : bounded_link_[t];
  }
}

int32_t name_matcher::find(std::string_view text) const {
  int32_t state = 0;
  for (char c : text) {
    state = state == 0 ? root_next_[static_cast<unsigned char>(c)]
                       : child(state, static_cast<unsigned char>(c));
    if (state <= 0) return -1;
  }
  return output_begin_[state] < output_begin_[state + 1] ? output_ids_[output_begin_[state]] : -1;
}
