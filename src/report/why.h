// --why=NAMES: for each function or $variable asked about, why the run kept
// or deleted it, step by step, each step with its file and line. Read from
// the run's records, which the dead-code passes fill when asked.
#pragma once

#include <string>
#include <vector>

class autoitsourcefile;

// The answers, one text (several lines, each ending in a line feed) per
// name in the order asked; a name the run found neither as a function nor
// as a variable goes to *unknown instead.
std::vector<std::string> why_answers(const autoitsourcefile& script,
                                     const std::vector<std::string>& names,
                                     std::vector<std::string>* unknown);
