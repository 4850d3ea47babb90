// What both platforms' output writers share: sizes, temporary names, and
// putting several written files in place together.
#include "platform/output_file.h"

#include <chrono>
#include <random>

#include "platform/output_blocks.h"

namespace platform {

int64_t stored_size(const line_reader& lines, size_t first, size_t last) {
  int64_t size = 0;
  for (size_t i = first; i <= last && i < lines.size(); ++i) {
    size += static_cast<int64_t>(lines[i].size() + kLineEnd.size());
  }
  return size;
}

std::string temp_file_name() {
  static std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(),
                       static_cast<unsigned>(
                           std::chrono::high_resolution_clock::now().time_since_epoch().count())};
    return std::mt19937_64(seed);
  }();
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name(kTempPrefix);
  for (int i = 0; i < 12; ++i) name += kLetters[generator() % (sizeof kLetters - 1)];
  return name;
}

std::string output_file::complete_text_in(const std::string& kept) const {
  return std::string(role_ == "output file" ? "the complete script" : "the complete text") +
         " is in '" + kept + "'";
}

bool replace_together(std::span<output_file* const> files, size_t* failed, std::string* err) {
  bool ok = true;
  auto put = [&](bool moved) {
    for (size_t i = 0; i < files.size() && ok; ++i) {
      if (!files[i]->is_open() || files[i]->moves_over() != moved) continue;
      if (!files[i]->replace(err)) {
        *failed = i;
        ok = false;
      }
    }
  };
  put(false);
  if (ok) {
    hold_moves();
    put(true);
    release_moves();
  }
  if (!ok) {
    for (output_file* file : files) file->discard();
  }
  return ok;
}

}  // namespace platform
