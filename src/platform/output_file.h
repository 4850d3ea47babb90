// Writing the script: every line followed by CR LF, in binary, on every
// platform. A regular file is replaced whole or not at all.
#pragma once

#include <cstdint>
#include <string>
#include <span>
#include <string_view>

namespace platform {

// Writes lines[first..last] to `path`, each followed by CR LF. A regular file
// (or a new one) is written to a temporary file beside it and renamed over it
// when complete, keeping its permission bits, so an interrupted run leaves the
// previous file or the whole new one. A device or FIFO is written in place.
// On success *size is the length of what was written.
bool write_lines(const std::string& path, std::span<const std::string_view> lines, size_t first,
                 size_t last, int64_t* size, std::string* err);

}  // namespace platform
