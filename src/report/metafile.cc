// The metafile's text from the run's records: the run, every file, function and
// variable, and the warnings, each kind of record written in one place.
#include "report/metafile.h"

#include <algorithm>

#include "report/json_writer.h"
#include "script/autoitsourcefile.h"
#include "script/two_threads.h"

namespace {

// Per source file, its "file" member and the key of "line", escaped once:
// records name few files many times.
using escaped_names = std::vector<std::string>;

// "file" and "line" members for a slot of the expanded script, in an
// object on one line.
void place(json_writer& json, const autoitsourcefile& script, const escaped_names& names,
           int32_t slot) {
  uint32_t file = 0;
  int64_t line = 0;
  if (script.origins.locate(static_cast<size_t>(slot), &file, &line) && file < names.size()) {
    json.members_then_key(names[file]);
  } else {
    json.key("file");
    json.value(script.origins.of(static_cast<size_t>(slot)).file);
    json.key("line");
  }
  json.value(line);
}

// "file" and "line" members of a place given as a file's name, both null
// where there is no file: a keep entry from the command line, a warning
// about no line of the script.
void file_and_line(json_writer& json, std::string_view file, int64_t line) {
  if (file.empty()) {
    json.members({{"file", nullptr}, {"line", nullptr}});
  } else {
    json.members({{"file", file}, {"line", line}});
  }
}

// A keep entry, by its index into the script's keep entries.
void keep_entry_object(json_writer& json, const autoitsourcefile& script, int32_t index) {
  const keep_entry& entry = script.keep_entries[static_cast<size_t>(index)];
  json.begin_object();
  json.member("keep_entry", entry.text);
  file_and_line(json, entry.file(), entry.line());
  // An entry the script's own built name gave: its pattern as written.
  if (entry.built()) json.member("built_name", entry.written());
  json.end_object();
}

const char* status_text(run_records::state status) {
  switch (status) {
    case run_records::state::kept:
      return "kept";
    case run_records::state::deleted:
      return "deleted";
    case run_records::state::erased:
      return "erased";
  }
  return "";
}

// About what a record's text takes, besides its file names, so that the
// text is reserved once: an untouched reservation costs nothing.
constexpr size_t kFunctionBytes = 224;
constexpr size_t kMentionBytes = 80;
constexpr size_t kVariableBytes = 192;

// Elements count of the array open, element i written by write(json, i):
// on two threads for many, the first half straight into `json`, the second
// into its own text (about `bytes` for all), added after it. A record costs
// about as much work as this many lines of a script.
constexpr size_t kLinesPerRecord = 32;

template <class Write>
void write_elements(json_writer& json, size_t count, size_t bytes, Write&& write) {
  std::string second;
  two_threads::split(0, count * kLinesPerRecord, [&](int half, size_t from, size_t to) {
    const size_t first = from / kLinesPerRecord;
    const size_t last = to / kLinesPerRecord;
    if (half == 0) {
      for (size_t i = first; i < last; ++i) write(json, i);
      return;
    }
    if (first == last) return;
    json_writer part(2, first > 0);
    part.reserve(bytes / 2 + 4096);
    for (size_t i = first; i < last; ++i) write(part, i);
    second = part.take_text();
  });
  json.add_elements(second, !second.empty());
}

size_t longest(const escaped_names& names) {
  size_t most = 0;
  for (const std::string& name : names) most = std::max(most, name.size());
  return most;
}

// A place names a file: two in a record, one in a mention.
size_t bytes_of_functions(const autoitsourcefile& script, const escaped_names& names) {
  const size_t path = longest(names);
  return script.records.functions.size() * (kFunctionBytes + 2 * path) +
         script.records.lost_mentions.size() * (kMentionBytes + path);
}

size_t bytes_of_variables(const autoitsourcefile& script, const escaped_names& names) {
  return script.records.variables.size() * (kVariableBytes + 2 * longest(names));
}

void write_files(json_writer& json, const autoitsourcefile& script) {
  json.key("files");
  json.begin_array();
  const std::vector<run_records::source_file>& files = script.records.files;
  for (uint32_t i = 0; i < script.origins.file_count(); ++i) {
    const run_records::source_file none;
    const run_records::source_file& f = i < files.size() ? files[i] : none;
    json.begin_object();
    json.members({{"path", script.origins.file_name(i)},
                  {"expanded_lines", f.expanded_lines},
                  {"expanded_bytes", f.expanded_bytes},
                  {"output_lines", f.output_lines},
                  {"output_bytes", f.output_bytes}});
    json.key("included_by");
    json.begin_array();
    for (const run_records::directive& d : f.included_by) {
      json.one_line_object({{"file", script.origins.file_name(d.file)}, {"line", d.line}});
    }
    json.end_array();
    json.end_object();
  }
  json.end_array();
}

void write_functions(json_writer& json, const autoitsourcefile& script,
                     const escaped_names& names) {
  const run_records& records = script.records;
  const auto& all = records.functions;
  // Each function's name as written, escaped once into one text: records
  // name other functions many times, and the headers lie far apart in the
  // script.
  std::string escaped;
  std::vector<size_t> ends(all.size());
  for (size_t r = 0; r < all.size(); ++r) {
    append_json_string(written_function_name(all[r].header), escaped);
    ends[r] = escaped.size();
  }
  auto name_of = [&](size_t r) {
    const size_t from = r == 0 ? 0 : ends[r - 1];
    return std::string_view(escaped).substr(from, ends[r] - from);
  };
  // Per name number, the lost mentions of it, in order: those of name n
  // are lost[first[n]] up to lost[first[n + 1]].
  const std::vector<run_records::lost_mention>& mentions = records.lost_mentions;
  size_t names_count = 0;
  for (const run_records::lost_mention& l : mentions) {
    names_count = std::max(names_count, static_cast<size_t>(l.name) + 1);
  }
  std::vector<size_t> first(names_count + 1);
  for (const run_records::lost_mention& l : mentions) ++first[static_cast<size_t>(l.name) + 1];
  for (size_t n = 0; n < names_count; ++n) first[n + 1] += first[n];
  std::vector<size_t> lost(mentions.size());
  std::vector<size_t> filled(first.begin(), first.end() - 1);
  for (size_t m = 0; m < mentions.size(); ++m) {
    lost[filled[static_cast<size_t>(mentions[m].name)]++] = m;
  }
  json.key("functions");
  json.begin_array();
  const size_t bytes = bytes_of_functions(script, names);
  write_elements(json, all.size(), bytes, [&](json_writer& json, size_t i) {
    const run_records::function_record& f = all[i];
    json.begin_one_line_object();
    json.member("name", json_scalar::escaped(name_of(i)));
    place(json, script, names, f.slot);
    const bool kept = f.status == run_records::state::kept;
    json.members({{"status", status_text(f.status)},
                  {"deleted_in_run", kept ? json_scalar(nullptr) : json_scalar(f.run)}});
    if (f.status == run_records::state::erased) {
      json.member("erased_with", json_scalar::escaped(name_of(static_cast<size_t>(f.erased_with))));
    }
    if (f.status == run_records::state::deleted) {
      // The lines that named it until a deletion blanked them.
      json.key("named_by_deleted");
      json.begin_array();
      const auto name = static_cast<size_t>(f.name);
      if (name < names_count) {
        for (size_t at = first[name]; at < first[name + 1]; ++at) {
          const size_t m = lost[at];
          if (m >= f.lost_before) break;
          const run_records::lost_mention& l = mentions[m];
          if (l.slot == f.slot) continue;  // its own header names it without keeping it
          json.begin_object();
          place(json, script, names, l.slot);
          json.member("deleted_function",
                      json_scalar::escaped(name_of(static_cast<size_t>(l.deleted_with))));
          json.end_object();
        }
      }
      json.end_array();
      if (f.unreached) {
        // Tree shaking deleted it: no chain from top-level code or a keep
        // entry comes to it; those above name it from code that never runs.
        json.members({{"reaches_root", false}, {"reason", "not reached"}});
      }
    }
    if (kept) {
      json.key("kept_by");
      if (f.keep_entry >= 0) {
        keep_entry_object(json, script, f.keep_entry);
      } else if (f.keeper_slot > 0) {
        json.begin_object();
        place(json, script, names, f.keeper_slot);
        const json_scalar keeper =
            f.keeper_function < 0
                ? json_scalar(nullptr)
                : json_scalar::escaped(name_of(static_cast<size_t>(f.keeper_function)));
        json.members({{"function", keeper}, {"reaches_root", f.rooted}});
        json.end_object();
      } else {
        json.null();
      }
    }
    json.end_object();
  });
  json.end_array();
}

void write_variables(json_writer& json, const autoitsourcefile& script,
                     const escaped_names& names) {
  json.key("variables");
  json.begin_array();
  const auto& variables = script.records.variables;
  const size_t bytes = bytes_of_variables(script, names);
  write_elements(json, variables.size(), bytes, [&](json_writer& json, size_t i) {
    const run_records::variable_record& v = variables[i];
    json.begin_one_line_object();
    json.member("name", v.name);
    place(json, script, names, v.slot);
    json.member("status", v.deleted ? "deleted" : "kept");
    json.key("first_mention");
    if (v.first_mention > 0) {
      json.begin_object();
      place(json, script, names, v.first_mention);
      json.end_object();
    } else {
      json.null();
    }
    if (v.keep_entry >= 0) {
      json.key("kept_by");
      keep_entry_object(json, script, v.keep_entry);
    } else if (v.kept_by_call) {
      json.object("kept_by", {{"call_in_declaration", true}});
    } else if (v.kept_by_own_line) {
      json.object("kept_by", {{"read_in_declaration", true}});
    }
    json.end_object();
  });
  json.end_array();
}

// What the renamer renamed: kind, the name as first written, the new one.
void write_renamed(json_writer& json, const run_records& records) {
  json.key("renamed");
  json.begin_array();
  for (const run_records::renamed_name& r : records.renamed) {
    const std::string dollar = r.function() ? "" : "$";
    json.one_line_object({{"kind", r.function() ? "function" : "variable"},
                          {"from", dollar + std::string(r.from())},
                          {"to", dollar + std::string(r.to())}});
  }
  json.end_array();
}

}  // namespace

std::string metafile_text(const autoitsourcefile& script, const run_summary& summary,
                          const std::vector<diagnostics::kept_warning>& warnings) {
  escaped_names names(script.origins.file_count());
  for (uint32_t i = 0; i < script.origins.file_count(); ++i) {
    names[i] = "\"file\": \"";
    append_json_string(script.origins.file_name(i), names[i]);
    names[i] += "\", \"line\": ";
  }
  json_writer json;
  json.reserve(4096 + 256 * script.origins.file_count() +
               bytes_of_functions(script, names) + bytes_of_variables(script, names));
  json.begin_object();
  json.members({{"au3shrink", summary.version}, {"input", summary.input}});
  json.object("output",
              {{"path", summary.output}, {"lines", script.line_count}, {"bytes", summary.shrunk}});
  json.object("passes", {{"comments", summary.remove_comments},
                         {"functions", summary.remove_functions},
                         {"variables", summary.remove_vars},
                         {"runs", summary.runs}});
  // The report's counters, under the report's own words.
  json.object("report", {{"includet_files", script.include_count},
                         {"deleted_vars", script.deleted_vars},
                         {"deleted_functions", script.deleted_functions},
                         {"functions_in_last_run", script.function_count},
                         {"variables_found", script.variable_count},
                         {"size_without_optimation", summary.unshrunk},
                         {"size_with_optimation", summary.shrunk},
                         {"improvement_percent", summary.percent}});
  write_files(json, script);
  write_functions(json, script, names);
  write_variables(json, script, names);
  if (script.records.renames_on) write_renamed(json, script.records);
  json.key("warnings");
  json.begin_array();
  for (const diagnostics::kept_warning& w : warnings) {
    json.begin_one_line_object();
    file_and_line(json, w.file, w.line);
    json.members({{"text", w.text}, {"kind", w.kind}});
    // Every place the warning stands for, when it stands for more than one.
    if (!w.places.empty()) {
      json.key("places");
      json.begin_array();
      for (const diagnostics::warning_place& p : w.places) {
        json.one_line_object({{"file", p.file}, {"line", p.line}, {"text", p.text}});
      }
      json.end_array();
    }
    json.end_object();
  }
  json.end_array();
  json.end_object();
  return json.take_text();
}
