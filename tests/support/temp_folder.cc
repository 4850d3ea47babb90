// A fresh folder for a test, removed afterwards.
#include "support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

temp_folder::temp_folder() {
  static std::atomic<unsigned> made{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    fs::path candidate = fs::temp_directory_path() /
                         ("au3test-" + std::to_string(stamp) + "-" + std::to_string(made++));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
}

temp_folder::~temp_folder() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

void temp_folder::write(std::string_view relative, std::string_view bytes) const {
  fs::path file = fs::path(path_) / fs::path(relative);
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void temp_folder::make_folder(std::string_view relative) const {
  fs::create_directories(fs::path(path_) / fs::path(relative));
}
