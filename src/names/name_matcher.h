// Finds every occurrence of many names in a text in one left-to-right walk
// (Aho-Corasick), so that all names are looked up in a line at once instead of
// name by name.

// The dead-code passes use it for unusual names, which can stand anywhere; the
// usual ones (a variable's "$" and letters, digits and "_"; a function's
// letters, digits and "_") are looked up by hash where they can stand
// (name_table.h). Bytes are arbitrary, NUL included. Memory grows with the
// total length of the names: the start state keeps a full 256-entry table,
// every other state only its own edges, sorted.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Which bytes may stand right before and right after an occurrence that
// must stand apart from its neighbours (the start and end of a text always
// may).
struct match_bounds {
  std::array<bool, 256> before{};
  std::array<bool, 256> after{};
};

class name_matcher {
 public:
  // names may repeat and may be empty; an empty name never matches.
  explicit name_matcher(const std::vector<std::string>& names);
  // The same, for searches that keep to occurrences within bounds.
  name_matcher(const std::vector<std::string>& names, const match_bounds& bounds);

  // Calls on_match(id, begin) for every occurrence in text of every non-empty
  // name (id = index into the constructor's vector; begin = start offset in
  // text). Occurrences are reported in order of their end offset.
  template <class F>
  void for_each_match(std::string_view text, F&& on_match) const;

  // Calls on_match(id, length) for every non-empty name that text ends with,
  // longest first.
  template <class F>
  void for_each_suffix_match(std::string_view text, F&& on_match) const;

  // The smallest id of a name equal to text; -1 when there is none (and for
  // an empty text, since an empty name never matches).
  int32_t find(std::string_view text) const;

  // Calls on_match(id) once for every non-empty name that occurs in text,
  // however often it occurs there: the cost is the length of the text plus
  // the number of names reported, even where names end alike (A, AA, AAA
  // over a text of A's).
  template <class F>
  void for_each_name_in(std::string_view text, F&& on_match) {
    for_each_name_in(text, own_marks_, on_match);
  }

  // The same, counting only occurrences whose neighbouring bytes the
  // constructor's bounds allow (none without bounds).
  template <class F>
  void for_each_bounded_name_in(std::string_view text, F&& on_match) {
    for_each_bounded_name_in(text, own_marks_, on_match);
  }

  // What a search marks as it goes: each thread that searches at the same
  // time needs marks of its own.
  struct marks {
    // visited[s] == visit: state s is already reported by the current search.
    std::vector<uint32_t> visited;
    uint32_t visit = 0;
  };
  // The searches above, marking in `work`.
  template <class F>
  void for_each_name_in(std::string_view text, marks& work, F&& on_match) const;
  template <class F>
  void for_each_bounded_name_in(std::string_view text, marks& work, F&& on_match) const;

 private:
  void build(const std::vector<std::string>& names, const match_bounds* bounds);
  bool has_names(int32_t state) const { return output_begin_[state] < output_begin_[state + 1]; }
  // Starts a search that reports every state at most once.
  void start_visit(marks& work) const;
  template <class F>
  void report_once(int32_t state, marks& work, F& on_match) const;
  int32_t next_state(int32_t state, unsigned char byte) const;
  int32_t child(int32_t state, unsigned char byte) const;

  // Successor of the start state (0) for every byte, failures folded in.
  std::array<int32_t, 256> root_next_{};
  // Edges of state s: [edge_begin_[s], edge_begin_[s + 1]), sorted by byte.
  std::vector<int32_t> edge_begin_;
  std::vector<unsigned char> edge_byte_;
  std::vector<int32_t> edge_target_;
  // Longest proper suffix of the state's text that is also a state.
  std::vector<int32_t> fail_;
  // The state itself if a name ends there, else the nearest such state on its
  // failure chain; -1 when there is none.
  std::vector<int32_t> report_;
  // Names ending at state s: output_ids_[output_begin_[s] .. output_begin_[s + 1]).
  std::vector<int32_t> output_begin_;
  std::vector<int32_t> output_ids_;
  std::vector<size_t> name_lengths_;
  // Length of the state's text.
  std::vector<int32_t> depth_;

  // With bounds: the longest proper suffix of the state's text at which
  // names end and whose byte before it, inside the state's text, may stand
  // before a name; -1 when there is none. Following these links from a state
  // gives every name that ends there within bounds, the state itself aside
  // (its byte before lies in the searched text).
  bool bounded_ = false;
  match_bounds bounds_;
  std::vector<int32_t> bounded_link_;

  marks own_marks_;
};

inline int32_t name_matcher::child(int32_t state, unsigned char byte) const {
  const unsigned char* first = edge_byte_.data() + edge_begin_[state];
  const unsigned char* last = edge_byte_.data() + edge_begin_[state + 1];
  const unsigned char* found = std::lower_bound(first, last, byte);
  if (found == last || *found != byte) return -1;
  return edge_target_[found - edge_byte_.data()];
}

inline int32_t name_matcher::next_state(int32_t state, unsigned char byte) const {
  while (state != 0) {
    int32_t target = child(state, byte);
    if (target >= 0) return target;
    state = fail_[state];
  }
  return root_next_[byte];
}

template <class F>
void name_matcher::for_each_match(std::string_view text, F&& on_match) const {
  int32_t state = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    state = next_state(state, static_cast<unsigned char>(text[i]));
    for (int32_t hit = report_[state]; hit >= 0; hit = report_[fail_[hit]]) {
      for (int32_t k = output_begin_[hit]; k < output_begin_[hit + 1]; ++k) {
        int32_t id = output_ids_[k];
        on_match(id, i + 1 - name_lengths_[id]);
      }
    }
  }
}

template <class F>
void name_matcher::for_each_suffix_match(std::string_view text, F&& on_match) const {
  int32_t state = 0;
  for (char c : text) state = next_state(state, static_cast<unsigned char>(c));
  for (int32_t hit = report_[state]; hit >= 0; hit = report_[fail_[hit]]) {
    for (int32_t k = output_begin_[hit]; k < output_begin_[hit + 1]; ++k) {
      int32_t id = output_ids_[k];
      on_match(id, name_lengths_[id]);
    }
  }
}

inline void name_matcher::start_visit(marks& work) const {
  if (work.visited.empty()) work.visited.assign(fail_.size(), 0);
  if (++work.visit == 0) {  // the marks wrapped around: clear them
    std::fill(work.visited.begin(), work.visited.end(), 0);
    work.visit = 1;
  }
}

template <class F>
void name_matcher::report_once(int32_t state, marks& work, F& on_match) const {
  work.visited[state] = work.visit;
  for (int32_t k = output_begin_[state]; k < output_begin_[state + 1]; ++k)
    on_match(output_ids_[k]);
}

// A state reported once has had its whole chain reported with it, so every
// chain walk stops at the first state already reported.
template <class F>
void name_matcher::for_each_name_in(std::string_view text, marks& work, F&& on_match) const {
  start_visit(work);
  int32_t state = 0;
  for (char c : text) {
    state = next_state(state, static_cast<unsigned char>(c));
    for (int32_t hit = report_[state]; hit >= 0 && work.visited[hit] != work.visit;
         hit = report_[fail_[hit]]) {
      report_once(hit, work, on_match);
    }
  }
}

template <class F>
void name_matcher::for_each_bounded_name_in(std::string_view text, marks& work,
                                            F&& on_match) const {
  if (!bounded_) return;
  start_visit(work);
  int32_t state = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    state = next_state(state, static_cast<unsigned char>(text[i]));
    size_t end = i + 1;
    if (end < text.size() && !bounds_.after[static_cast<unsigned char>(text[end])]) continue;
    if (work.visited[state] == work.visit) continue;
    if (has_names(state)) {
      size_t begin = end - static_cast<size_t>(depth_[state]);
      if (begin == 0 || bounds_.before[static_cast<unsigned char>(text[begin - 1])]) {
        report_once(state, work, on_match);
      }
    }
    for (int32_t hit = bounded_link_[state]; hit >= 0 && work.visited[hit] != work.visit;
         hit = bounded_link_[hit]) {
      report_once(hit, work, on_match);
    }
  }
}
