// A fresh folder for tests that need files on disk, removed afterwards.
#pragma once

#include <string>
#include <string_view>

class temp_folder {
 public:
  temp_folder();
  ~temp_folder();
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  // The folder's path, without a final separator.
  const std::string& path() const { return path_; }
  // Writes `bytes` to `relative` (separated by "/"), creating its folders.
  void write(std::string_view relative, std::string_view bytes) const;
  void make_folder(std::string_view relative) const;

 private:
  std::string path_;
};
