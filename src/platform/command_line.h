// The program's arguments as UTF-8 on every platform. Windows hands a console
// program its arguments in the ANSI code page, which cannot hold every file
// name; the UTF-16 command line can.
#pragma once

#include <string>
#include <vector>

namespace platform {

// argv[0..argc) as UTF-8: on Windows decoded from the UTF-16 command line,
// elsewhere as given.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Points argc and argv at utf8_arguments(argc, argv), kept for the rest of
// the process.
void use_utf8_arguments(int& argc, char**& argv);

}  // namespace platform
