// Finds, in one pass over a text, every place where any of many pieces
// occurs (Aho-Corasick): the time is the text's length plus the places
// found, however many pieces there are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

class piece_finder {
 public:
  piece_finder() : fail_(1, 0), piece_(1, -1), next_with_piece_(1, 0) {}

  // The number of a piece, which is not empty (equal pieces get the same
  // number).
  int32_t add(std::string_view piece);
  size_t piece_length(int32_t piece) const { return lengths_[static_cast<size_t>(piece)]; }
  // How many different pieces there are.
  size_t size() const { return lengths_.size(); }

  // Calls found(piece, start) for every place a piece occurs in `text`.
  template <class Found>
  void find(std::string_view text, Found&& found) {
    if (!ready_) link();
    int32_t at = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      at = step(at, text[i]);
      int32_t node = piece_[static_cast<size_t>(at)] >= 0 ? at : next_with_piece_[static_cast<size_t>(at)];
      for (; node != 0; node = next_with_piece_[static_cast<size_t>(node)]) {
        const int32_t piece = piece_[static_cast<size_t>(node)];
        found(piece, i + 1 - piece_length(piece));
      }
    }
  }

 private:
  static uint64_t edge(int32_t node, char byte) {
    return (static_cast<uint64_t>(node) << 8) | static_cast<unsigned char>(byte);
  }
  int32_t child(int32_t node, char byte) const {
    const auto it = edges_.find(edge(node, byte));
    return it == edges_.end() ? -1 : it->second;
  }
  // The node after reading `byte` at `node`, following failure links.
  int32_t step(int32_t node, char byte) const;
  // Failure links and the links to the next node that ends a piece.
  void link();

  std::unordered_map<uint64_t, int32_t> edges_;
  std::vector<std::vector<std::pair<char, int32_t>>> children_{1};
  std::vector<int32_t> fail_;
  std::vector<int32_t> piece_;            // the piece a node ends, or -1
  std::vector<int32_t> next_with_piece_;  // along failure links; 0 for none
  std::vector<size_t> lengths_;
  bool ready_ = false;
};
