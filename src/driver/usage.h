// What the program says about itself: --help, --version and the usage error.
#pragma once

#include <string>

// Every argument and option with a short description (--help, standard output).
std::string help_text();

// The usage error (standard error): the arguments, ending with a hint to --help.
std::string usage_error_text();

// How --where is called (standard error, when MAP or LINE is missing).
std::string where_usage_text();

// "au3shrink <version>" and a line end (--version, standard output).
std::string version_line();
