// Whether an include folder argument names a folder, read the way include
// paths are read: on Windows as written; elsewhere with backslashes as
// separators and each component matched ignoring the case of a-z.
#pragma once

#include <string_view>

namespace platform {

bool names_a_folder(std::string_view path);

}  // namespace platform
