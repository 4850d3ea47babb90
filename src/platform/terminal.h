// The console: whether stdout is a terminal, and the key-press wait that
// closes every run so that a console window opened for it stays readable.
#pragma once

namespace platform {

bool stdout_is_terminal();

// Standard output or standard error closed at start (`>&-`) gets a
// descriptor on which every write fails, as on a closed one, so that no file
// the run opens takes its number and receives the report.
void reserve_standard_streams();

// Prints "Press any key to continue . . . " (the command interpreter's PAUSE
// prompt) and waits for one key, then ends the line. On a terminal or
// console no Enter is needed and a whole key is taken (the rest of an escape
// sequence too, so nothing is left for the shell); the terminal's settings
// come back afterwards, also when the wait is interrupted or suspended.
// Otherwise one byte is read: at end of file or on a closed standard input
// it returns at once.
void wait_for_key_press();

}  // namespace platform
