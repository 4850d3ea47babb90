// au3shrink: shrinks an AutoIt script into one self-contained, smaller file.
#include "driver/arguments.h"
#include "driver/pipeline.h"
#include "platform/command_line.h"
#include "platform/terminal.h"
#include "report/console.h"
#include "report/diagnostics.h"

int main(int argc, char** argv) {
  platform::use_utf8_arguments(argc, argv);
  console::setup_stdout();
  platform::ignore_broken_pipe();
  arguments args;
  int status = 2;
  if (parse_arguments(argc, argv, &args)) {
    status = shrink(args);
  } else {
    diagnostics::note(usage_text());
  }
  // Every run ends here, errors included, so a console window stays readable.
  platform::wait_for_key_press();
  return status;
}
