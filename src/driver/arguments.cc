// Reading the command line into `arguments`: options wherever they stand, the
// other words by their place, and a warning for a word that looks like an option.
#include "driver/arguments.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>
#include <utility>

#include "platform/atoi.h"

namespace {

// Every option, as the warning about a word that is none lists them.
constexpr const char* kOptionNames =
    "--help, --version, --no-pause, --keep=LIST, --map=FILE, --source-line-numbers, "
    "--metafile=FILE, --analyze, --strict, --why=NAMES, --no-auto-keep, --no-warn=KINDS, "
    "--tree-shaking, --minify, --minify-whitespace, --minify-identifiers, --where";

// The options that take a value after "=".
constexpr std::string_view kValueOptions[] = {"--keep", "--map", "--metafile", "--why",
                                              "--no-warn"};

// Appends the comma list's items, blanks and tabs around each taken off,
// empty ones dropped.
void split_list(std::string_view list, std::vector<std::string>& items) {
  while (true) {
    const size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    while (!item.empty() && (item.front() == ' ' || item.front() == '\t')) item.remove_prefix(1);
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) item.remove_suffix(1);
    if (!item.empty()) items.emplace_back(item);
    if (comma == std::string_view::npos) return;
    list.remove_prefix(comma + 1);
  }
}

// The pass letters must stand at their positions exactly, in upper case.
bool selects(const char* passes, size_t position, char letter) {
  for (size_t i = 0; i < position; ++i) {
    if (passes[i] == '\0') return false;
  }
  return passes[position] == letter;
}

// Takes `word` as an option when it is one; false leaves it positional.
bool take_option(std::string_view word, arguments* args) {
  constexpr std::string_view keep = "--keep=";
  constexpr std::string_view map = "--map=";
  constexpr std::string_view metafile = "--metafile=";
  constexpr std::string_view why = "--why=";
  constexpr std::string_view no_warn = "--no-warn=";
  if (word == "--help") {
    args->help = true;
  } else if (word == "--version") {
    args->version = true;
  } else if (word == "--no-pause") {
    args->no_pause = true;
  } else if (word == "--no-auto-keep") {
    args->no_auto_keep = true;
  } else if (word == "--tree-shaking") {
    args->tree_shaking = true;
  } else if (word.substr(0, keep.size()) == keep) {
    args->keep.emplace_back(word.substr(keep.size()));
  } else if (word.substr(0, map.size()) == map) {
    args->map = true;
    args->map_file = word.substr(map.size());
  } else if (word.substr(0, metafile.size()) == metafile) {
    args->metafile = true;
    args->metafile_file = word.substr(metafile.size());
  } else if (word == "--source-line-numbers") {
    args->source_line_numbers = true;
  } else if (word == "--analyze") {
    args->analyze = true;
  } else if (word == "--strict") {
    args->strict = true;
  } else if (word.substr(0, why.size()) == why) {
    // A comma list; may be given more than once.
    split_list(word.substr(why.size()), args->why);
  } else if (word.substr(0, no_warn.size()) == no_warn) {
    split_list(word.substr(no_warn.size()), args->no_warn);
  } else if (word == "--minify") {
    args->tree_shaking = true;
    args->minify_whitespace = true;
    args->minify_identifiers = true;
  } else if (word == "--minify-whitespace") {
    args->minify_whitespace = true;
  } else if (word == "--minify-identifiers") {
    args->minify_identifiers = true;
  } else if (word == "--where") {
    args->where = true;
  } else {
    return false;
  }
  return true;
}

constexpr const char* kRoles[] = {"INPUT", "OUTPUT", "QUOTED_DIR", "ANGLE_DIR",
                                  "PASSES", "RUNS", "MODE"};
constexpr size_t kPositions = std::size(kRoles);

// The role the positional argument at `position` takes.
std::string role_of(const arguments& args, size_t position) {
  if (args.where) return position == 0 ? "MAP" : "LINE";
  if (position < kPositions) return kRoles[position];
  return "an extra argument past MODE, which is ignored";
}

// "A", "A and B", "A, B and C".
std::string listed(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

// Mistakes that still decode: a word that looks like an option but is none,
// an option whose value follows a blank instead of "=" (`next`, the word
// after each, shows it), a "--" (which ends no option list here), an
// argument past MODE.
void note_doubtful(const arguments& args, const std::vector<const char*>& positional,
                   const std::vector<const char*>& next,
                   std::vector<arguments::warning>* warnings) {
  for (size_t i = 0; i < positional.size(); ++i) {
    const std::string_view word = positional[i];
    const std::string role = role_of(args, i);
    if (std::find(std::begin(kValueOptions), std::end(kValueOptions), word) !=
        std::end(kValueOptions)) {
      std::string text = "'";
      text.append(word).append("' takes its value after '=', not after a blank: write ");
      text.append(word).append("=").append(next[i] != nullptr ? next[i] : "VALUE");
      text.append("; taken as ").append(role);
      warnings->push_back({std::move(text), "option-form"});
      continue;
    }
    const bool looks_like_option = word.size() > 2 && word.substr(0, 2) == "--" &&
                                   std::isalpha(static_cast<unsigned char>(word[2]));
    // "--G" is a pass selection written out: the G pass alone.
    const bool pass_selection = !args.where && i == 4 && word.size() == 3;
    std::string text;
    if (looks_like_option && !pass_selection) {
      text.append("'").append(word).append("' is not an option (options: ");
      text.append(kOptionNames).append("); taken as ").append(role);
    } else if (word == "--") {
      text.append("'--' ends no options here (every argument is read the same way); taken as ");
      text.append(role);
    } else if (!args.where && i >= kPositions) {
      text.append("extra argument '").append(word).append("' past MODE is ignored");
    }
    if (!text.empty()) warnings->push_back({std::move(text), "argument"});
  }
}

}  // namespace

bool parse_arguments(int argc, char** argv, arguments* args) {
  if (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "/?")) {
    args->help = true;
    return true;
  }
  std::vector<const char*> positional;
  std::vector<const char*> next;  // the argument after each positional one
  for (int i = 1; i < argc; ++i) {
    if (take_option(argv[i], args)) continue;
    positional.push_back(argv[i]);
    next.push_back(i + 1 < argc ? argv[i + 1] : nullptr);
  }
  note_doubtful(*args, positional, next, &args->warnings);
  if (args->where) {
    if (positional.empty()) {
      args->missing = "MAP and LINE are missing";
      return false;
    }
    args->where_map = positional[0];
    args->where_lines.assign(positional.begin() + 1, positional.end());
    if (args->where_lines.empty()) {
      args->missing = "LINE is missing: --where looks up at least one line";
      return false;
    }
    return true;
  }
  if (positional.size() < 5) {
    std::vector<std::string> lacking(kRoles + positional.size(), kRoles + 5);
    args->missing = listed(lacking) + (lacking.size() == 1 ? " is missing" : " are missing");
    return false;
  }
  args->input = positional[0];
  args->output = positional[1];
  args->quoted_include_dir = positional[2];
  args->angle_include_dir = positional[3];
  const char* passes = positional[4];
  args->pass_selection = passes;
  args->remove_comments = selects(passes, 0, 'C');
  args->remove_functions = selects(passes, 1, 'F');
  args->remove_vars = selects(passes, 2, 'G');
  if (args->remove_functions || args->remove_vars) {
    if (positional.size() < 7) {
      std::vector<std::string> lacking(kRoles + positional.size(), kRoles + 7);
      args->missing = listed(lacking) + (lacking.size() == 1 ? " is" : " are") +
                      " missing: F or G is selected";
      return false;
    }
    args->runs_text = positional[5];
    args->runs = platform::atoi(positional[5]);
    args->output_mode = positional[6];
  }
  return true;
}
