// au3shrink: shrinks an AutoIt script into one self-contained, smaller file.
#include "driver/arguments.h"
#include "driver/inert_values.h"
#include "driver/pipeline.h"
#include "driver/usage.h"
#include "platform/command_line.h"
#include "platform/terminal.h"
#include "report/console.h"
#include "report/diagnostics.h"

int main(int argc, char** argv) {
  platform::use_utf8_arguments(argc, argv);
  console::setup_stdout();
  platform::ignore_broken_pipe();
  arguments args;
  bool complete = parse_arguments(argc, argv, &args);
  // Asked for on purpose, so no window needs to stay open for them.
  if (args.help || args.version) {
    console::out(args.help ? help_text() : version_line());
    console::flush();
    return 0;
  }
  int status = 2;
  if (complete) {
    warn_about_inert_values(args);
    status = shrink(args);
  } else {
    diagnostics::note(usage_error_text());
  }
  // Every run ends here, errors included, so a console window stays readable.
  if (!args.no_pause) platform::wait_for_key_press();
  return status;
}
