// The lines a writer sends out, read one at a time from whatever table holds
// them: the script's packed line table, or a plain list of views.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

class line_reader {
 public:
  line_reader() = default;
  // Anything with size() and operator[] giving a line's text; it must
  // outlive the reader.
  template <class Table>
  line_reader(const Table& table)  // NOLINT(google-explicit-constructor): a view, as std::span
      : table_(&table), size_(table.size()), read_(&read<Table>) {}

  size_t size() const { return size_; }
  std::string_view operator[](size_t i) const { return read_(table_, i); }

 private:
  template <class Table>
  static std::string_view read(const void* table, size_t i) {
    return (*static_cast<const Table*>(table))[i];
  }

  const void* table_ = nullptr;
  size_t size_ = 0;
  std::string_view (*read_)(const void*, size_t) = nullptr;
};

}  // namespace platform
