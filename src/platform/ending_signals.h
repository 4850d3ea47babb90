// Signals that end the process, and what happens before they do: the run's
// temporary file is removed, so that no end but SIGKILL leaves one beside
// the output; or, while a file written in place is being rewritten, the file
// that holds the complete script is kept and named on standard error.
#pragma once

#ifndef _WIN32
#include <signal.h>

#include <span>
#endif

namespace platform {

// Once at start, before any output file exists. Every signal whose default
// action ends the process gets a handler that does the above, then ends the
// process by that signal as before; a signal the process was started with
// ignored (nohup) or handled stays so. SIGPIPE and SIGXFSZ that the
// process's own writes cause do not end it: the write fails instead (EPIPE,
// EFBIG) and the run reports it; sent by another process they end it.
// Nothing on Windows, where the output writer watches console events itself.
void catch_ending_signals();

#ifndef _WIN32

// The signals above, for other code that must undo something first.
std::span<const int> ending_signal_numbers();

// Holds the ending signals back while what they act on changes; gives the
// mask to put back.
sigset_t hold_ending_signals();
void release_ending_signals(const sigset_t& saved);

// What an ending signal does first, one file at a time; call between hold
// and release. `name` is relative to the open folder `folder`, so no path
// length limit applies; it and `note` must stay valid until forgotten.
void remove_on_ending_signal(int folder, const char* name);
// Keeps the file and writes `note` (a whole line) to standard error.
void note_on_ending_signal(const char* note, size_t length);
void forget_on_ending_signal();

#endif

}  // namespace platform
