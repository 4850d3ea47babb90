// The arguments as UTF-8: taken from the UTF-16 command line on Windows, as
// given elsewhere.
#include "platform/command_line.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "platform/file_names.h"
#endif

namespace platform {

std::vector<std::string> utf8_arguments(int argc, char** argv) {
#ifdef _WIN32
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(utf8_of(wide[i]));
    LocalFree(wide);
    return arguments;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

void use_utf8_arguments(int& argc, char**& argv) {
  static std::vector<std::string> kept;
  static std::vector<char*> pointers;
  kept = utf8_arguments(argc, argv);
  pointers.clear();
  for (std::string& argument : kept) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  argc = static_cast<int>(kept.size());
  argv = pointers.data();
}

}  // namespace platform
