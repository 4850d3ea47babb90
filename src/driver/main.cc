// au3shrink: shrinks an AutoIt script into one self-contained, smaller file.
#include <string>

#include "driver/arguments.h"
#include "driver/inert_values.h"
#include "driver/no_warn.h"
#include "driver/pipeline.h"
#include "driver/usage.h"
#include "driver/where.h"
#include "platform/command_line.h"
#include "platform/ending_signals.h"
#include "platform/free_memory.h"
#include "platform/terminal.h"
#include "report/console.h"
#include "report/diagnostics.h"

namespace {

// Text that could not be written is lost, so the status says so, as with
// other command-line tools: a failure on standard output is reported on
// standard error; one on standard error shows in the status only.
int finish(int status) {
  std::string err;
  if (!console::close(&err)) {
    diagnostics::error("cannot write standard output: " + err);
    if (status == 0) status = 1;
  }
  if (!diagnostics::all_written() && status == 0) status = 1;
  return status;
}

// --strict: a run that completed but printed a warning ends with 3.
int strict_status(const arguments& args, int status) {
  return args.strict && status == 0 && diagnostics::warnings_printed() > 0 ? 3 : status;
}

}  // namespace

int main(int argc, char** argv) {
  platform::use_utf8_arguments(argc, argv);
  platform::reserve_standard_streams();
  console::setup_stdout();
  platform::catch_ending_signals();
  platform::give_back_large_blocks();
  arguments args;
  bool complete = parse_arguments(argc, argv, &args);
  // Asked for on purpose, so no window needs to stay open for them.
  if (args.help || args.version) {
    console::out(args.help ? help_text() : version_line());
    return finish(0);
  }
  // The metafile lists every warning of the run, these first.
  if (args.metafile) diagnostics::keep_warnings();
  silence_kinds(args.no_warn);
  for (const arguments::warning& warning : args.warnings) {
    diagnostics::warning(warning.text, warning.kind);
  }
  int status = 2;
  if (args.where) {
    // A look-up, asked for on purpose like --help: no wait either.
    if (complete) {
      status = where_lines(args);
    } else {
      diagnostics::error(args.missing);
      diagnostics::note(where_usage_text());
    }
    return finish(strict_status(args, status));
  }
  if (complete) {
    warn_about_inert_values(args);
    status = shrink(args);
  } else {
    // With no argument at all (a double click), the usage alone says it.
    if (argc > 1) diagnostics::error(args.missing);
    diagnostics::note(usage_error_text());
  }
  status = strict_status(args, status);
  // Every run ends here, errors included, so a console window stays readable.
  if (!args.no_pause) platform::wait_for_key_press();
  return finish(status);
}
