// How file names reach the system.

// Paths travel through the program as byte strings; on Windows they are handed
// to the UTF-16 API, read as UTF-8 where they are valid UTF-8 and in the ANSI
// code page otherwise, so that both arguments (UTF-8) and names written in an
// ANSI script find their files.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// True when the last component of `path` names a device that Windows keeps in
// every folder: CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$, in
// any letter case, with or without an extension ("nul.au3", "Com1 .txt").
bool is_reserved_device_name(std::string_view path);

#ifdef _WIN32
// `path` for the UTF-16 API: each component as UTF-8 when it is valid UTF-8,
// else in the ANSI code page.
std::wstring wide_path(std::string_view path);
// UTF-16 from the system as UTF-8.
std::string utf8_of(std::wstring_view text);
// The reason for a Windows error code, in the words the C library uses for
// the common ones ("Permission denied"), else the system's own message.
std::string error_text(unsigned long code);
#endif

}  // namespace platform
