// What happens when a signal ends the process: the run's temporary files are
// removed, or a file being rewritten in place is named on standard error.

// Signals that end the process, and what happens before they do: every
// temporary file of the run (the output's, the map's, the metafile's) is
// removed, so that no end but SIGKILL leaves one beside a written file; or,
// while a file written in place is being rewritten, the file that holds its
// complete text is kept and named on standard error.
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

// What an ending signal does first, for each file the run has under way;
// call between hold and release. `name` is relative to the open folder
// `folder`, so no path length limit applies; it and `note` must stay valid
// until forgotten. Gives the file's place in the list, which the calls
// below take; -1 when the list is full (more files than a run writes).
int remove_on_ending_signal(int folder, const char* name);
// Keeps that file instead and writes `note` (a whole line) to standard error.
void note_on_ending_signal(int place, const char* note, size_t length);
void forget_on_ending_signal(int place);

#endif

}  // namespace platform
