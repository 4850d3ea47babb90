#include "passes/deadcode/name_matcher.h"

#include <unordered_map>

name_matcher::name_matcher(const std::vector<std::string>& names) {
  // The trie: state 0 is the start, every other state has one incoming edge,
  // from parent[s] over the byte via[s].
  std::vector<int32_t> parent{0};
  std::vector<unsigned char> via{0};
  std::vector<int32_t> end_state(names.size(), -1);
  name_lengths_.reserve(names.size());
  {
    std::unordered_map<uint64_t, int32_t> trie_edges;
    for (size_t id = 0; id < names.size(); ++id) {
      name_lengths_.push_back(names[id].size());
      if (names[id].empty()) continue;
      int32_t state = 0;
      for (char c : names[id]) {
        auto byte = static_cast<unsigned char>(c);
        uint64_t key = (static_cast<uint64_t>(state) << 8) | byte;
        auto [it, added] = trie_edges.try_emplace(key, static_cast<int32_t>(parent.size()));
        if (added) {
          parent.push_back(state);
          via.push_back(byte);
        }
        state = it->second;
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
  std::vector<int32_t> queue;
  queue.reserve(states);
  for (int32_t e = edge_begin_[0]; e < edge_begin_[1]; ++e) {
    root_next_[edge_byte_[e]] = edge_target_[e];
    queue.push_back(edge_target_[e]);
  }
  for (size_t head = 0; head < queue.size(); ++head) {
    int32_t s = queue[head];
    report_[s] = output_begin_[s] < output_begin_[s + 1] ? s : report_[fail_[s]];
    for (int32_t e = edge_begin_[s]; e < edge_begin_[s + 1]; ++e) {
      fail_[edge_target_[e]] = next_state(fail_[s], edge_byte_[e]);
      queue.push_back(edge_target_[e]);
    }
  }
}
