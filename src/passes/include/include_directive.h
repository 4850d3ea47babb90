// Recognising an include directive in a script line and cutting out the name
// of the file it includes.
#pragma once

#include <string>
#include <string_view>

enum class include_kind {
  none,  // no directive: the line stays as it is
  once,  // #include-once: the line is emptied
  file,  // a directive naming a file
};

struct include_directive {
  include_kind kind = include_kind::none;
  // The name came in angle brackets; otherwise it is taken as quoted.
  bool angle = false;
  // Upper case, every blank and tab removed: the name that is printed and
  // that the include path is built from.
  std::string name;
  // The name between the brackets or the two double quotes with its inner
  // blanks kept (outer blanks and tabs trimmed), for a second try when a file
  // has blanks in its name or a comment follows the closing quote. Empty when
  // the directive has no such pair or it gives nothing new.
  std::string written_name;
  // The name as the line writes it, letter case and inner blanks kept, for
  // messages; the built name when the line has no pair of brackets or quotes.
  std::string shown_name;
  // The name is a whole path (a drive letter and colon, a leading "\" or
  // "/", or "\\server\share"): it is tried as it stands before any folder.
  bool absolute = false;
};

// Whether `name` names a whole path rather than one in a folder.
bool is_absolute_include_name(std::string_view name);

include_directive parse_include_directive(std::string_view line);
