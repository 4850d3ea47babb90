// The console: whether stdout is a terminal, and the key-press wait that
// closes every run so that a console window opened for it stays readable.
#pragma once

namespace platform {

bool stdout_is_terminal();

// A reader that goes away (`au3shrink ... | head`) must not stop the run
// between the writes of the output file: lost report lines are harmless.
void ignore_broken_pipe();

// On Windows the command interpreter's PAUSE. Elsewhere prints the same
// prompt and waits for one key (no Enter needed on a terminal); returns at
// once when standard input is at end of file or closed.
void wait_for_key_press();

}  // namespace platform
