// Building the piece finder's trie and its links.
#include "names/piece_finder.h"

#include <deque>

int32_t piece_finder::add(std::string_view piece) {
  ready_ = false;
  int32_t at = 0;
  for (const char byte : piece) {
    int32_t next = child(at, byte);
    if (next < 0) {
      next = static_cast<int32_t>(fail_.size());
      fail_.push_back(0);
      piece_.push_back(-1);
      next_with_piece_.push_back(0);
      children_.emplace_back();
      edges_.emplace(edge(at, byte), next);
      children_[static_cast<size_t>(at)].emplace_back(byte, next);
    }
    at = next;
  }
  int32_t& number = piece_[static_cast<size_t>(at)];
  if (number < 0) {
    number = static_cast<int32_t>(lengths_.size());
    lengths_.push_back(piece.size());
  }
  return number;
}

int32_t piece_finder::step(int32_t node, char byte) const {
  for (;;) {
    const int32_t next = child(node, byte);
    if (next >= 0) return next;
    if (node == 0) return 0;
    node = fail_[static_cast<size_t>(node)];
  }
}

void piece_finder::link() {
  // Breadth first: a node's failure link is shallower than the node.
  std::deque<int32_t> queue;
  for (const auto& [byte, node] : children_[0]) {
    fail_[static_cast<size_t>(node)] = 0;
    next_with_piece_[static_cast<size_t>(node)] = 0;
    queue.push_back(node);
  }
  while (!queue.empty()) {
    const int32_t node = queue.front();
    queue.pop_front();
    for (const auto& [byte, next] : children_[static_cast<size_t>(node)]) {
      const int32_t fail = step(fail_[static_cast<size_t>(node)], byte);
      fail_[static_cast<size_t>(next)] = fail;
      next_with_piece_[static_cast<size_t>(next)] =
          piece_[static_cast<size_t>(fail)] >= 0 ? fail : next_with_piece_[static_cast<size_t>(fail)];
      queue.push_back(next);
    }
  }
  ready_ = true;
}
