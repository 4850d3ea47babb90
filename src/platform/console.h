// Standard output of the report and the passes. Byte strings go out whole,
// NUL bytes included. Buffered when stdout is a file or pipe; unbuffered on a
// terminal, so that progress dots show as they are printed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace console {

void setup_stdout();
void out(std::string_view text);
void out(long long number);
void flush();
// At the end of the process: flushes and closes standard output; false with
// the reason when anything written to it was lost (a full disk, a closed
// descriptor, a reader gone). Nothing is written to it afterwards.
bool close(std::string* err);

}  // namespace console
