// The constants that built names start with, such as the prefix of
// Call($CMD_PREFIX & $sVerb): where the script sets one once and nowhere else.

// The one step of indirection in a built name: Call($CMD_PREFIX & $sVerb)
// names Cmd_* when the script declares `$CMD_PREFIX = "Cmd_"` once, as a
// declaration item with nothing else in it, and never assigns it anywhere
// else at the start of a statement (the line's start, after Then or For).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class autoitsourcefile;

class built_name_constants {
 public:
  // Looks at the declarations and assignments of the `wanted` variables
  // ("$NAME", upper case) only; one walk over the script.
  built_name_constants(const autoitsourcefile& script, const std::vector<std::string>& wanted);

  // The literal the variable always holds; nullptr when it has none.
  const std::string* literal_of(const std::string& variable) const;

 private:
  struct facts {
    int declarations = 0;
    bool assigned = false;
    bool literal_only = false;  // its one declaration gives it a literal and nothing else
    std::string literal;
  };
  void read_declaration(std::string_view line);
  void read_assignments(std::string_view line);
  facts* wanted(std::string_view written_name);

  std::unordered_map<std::string, facts> names_;
};
