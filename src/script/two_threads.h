// Work on a large script shared with a second thread.

// The passes that look at every line on their own split the lines in two: the
// second half runs on another thread while this one does the first, each into
// results of its own, which the pass then joins in line order. The output is
// the same whichever way the work ran.
#pragma once

#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace two_threads {

// Below this many lines a second thread costs more than it saves. Tests
// lower it, so that small scripts take the shared path too.
inline size_t minimum_lines = size_t{1} << 15;

// Work that is split by bytes of text rather than by lines counts this many
// bytes as a line.
inline constexpr size_t kBytesPerLine = 32;

// Whether [first, last), of `per_line` items to a line, is split: long
// enough, and a second core to run on.
inline bool worth_splitting(size_t first, size_t last, size_t per_line = 1) {
  static const bool two_cores = std::thread::hardware_concurrency() > 1;
  return last > first && last - first >= minimum_lines * per_line &&
         (two_cores || minimum_lines <= 1);
}

// Calls work(0, first, middle) and work(1, middle, last), the second on a
// second thread, where that is worth it; `middle` is where cut_at(m) moves
// the middle m of [first, last): the first place at or after m, at most
// `last`, where the work can be cut. Else part 0 takes all of
// [first, last), here, and part 1 none of it; without a thread to be had,
// both run here in turn. Part 1 sees none of part 0's results, and the
// other way round. Returns when both are done; an exception from either is
// thrown here then. The range holds `per_line` items to a line.
template <class CutAt, class Work>
void split_at(size_t first, size_t last, CutAt&& cut_at, Work&& work, size_t per_line = 1) {
  if (!worth_splitting(first, last, per_line)) {
    work(0, first, last);
    work(1, last, last);
    return;
  }
  const size_t middle = cut_at(first + (last - first) / 2);
  std::exception_ptr second_failed;
  std::thread second;
  try {
    second = std::thread([&] {
      try {
        work(1, middle, last);
      } catch (...) {
        second_failed = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had: the second half runs here after the first.
    work(0, first, middle);
    work(1, middle, last);
    return;
  }
  std::exception_ptr first_failed;
  try {
    work(0, first, middle);
  } catch (...) {
    first_failed = std::current_exception();
  }
  second.join();
  if (first_failed) std::rethrow_exception(first_failed);
  if (second_failed) std::rethrow_exception(second_failed);
}

// split_at, cutting at the very middle: every place will do.
template <class Work>
void split(size_t first, size_t last, Work&& work) {
  split_at(first, last, [](size_t middle) { return middle; }, work);
}

// What the two halves found, in order: the first half's, then the second's.
template <class T>
std::vector<T> joined(std::vector<T>&& first, const std::vector<T>& second) {
  std::vector<T> all = std::move(first);
  all.insert(all.end(), second.begin(), second.end());
  return all;
}

}  // namespace two_threads
