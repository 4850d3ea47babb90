// Writing the script: every line followed by CR LF, in binary, on every
// platform.

// The output is replaced once, whole, when the run has its final text; until
// then the path keeps what it held.
//
// How the output is replaced:
// - a regular file (or a new one) is written to a temporary file in the same
//   folder and moved over it when complete, keeping the replaced file's
//   permission bits (set-group-ID and sticky too), its owner and group where
//   the process may set them, and on Windows its attributes and security;
// - it is written in place, as shell redirection would, when it cannot be
//   replaced that way: a device or FIFO (also through /dev/stdout or
//   /dev/fd/N), a file with several hard links (so the links stay one file),
//   or a writable file in a folder that is not. A file written in place gets
//   the complete script in a temporary file first (beside it, or in the
//   system's temporary folder when its folder takes no new file or is full),
//   and is rewritten only when that succeeded; when the rewrite fails, the
//   error names the temporary file, which is kept;
// - an existing file that the user may not write is refused ("Permission
//   denied"), as shell redirection would;
// - a symbolic link stays a link and its target receives the script, also a
//   target that does not exist yet.
// The temporary file (".au3shrink-" and a random name) is removed when the
// run fails or is ended by a signal (see ending_signals.h; on Windows also a
// closed console or a killed process).
//
// Several files of one run (the output, the map, the metafile) are written
// in two steps: each is written whole to its temporary file (write), and
// only when all of them are complete are they put at their paths together
// (replace_together), so that a file that cannot be written costs none.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/line_reader.h"

namespace platform {

// The size lines[first..last] take in a written file: each line and its CR LF.
int64_t stored_size(const line_reader& lines, size_t first, size_t last);

class output_file {
 public:
  output_file();
  ~output_file();  // discards what was not committed
  output_file(const output_file&) = delete;
  output_file& operator=(const output_file&) = delete;

  // Gets ready to replace `path`: everything that can fail before the text
  // exists fails here, with the reason in *err (a missing folder, no right to
  // write). Nothing at `path` changes until commit.
  bool open(const std::string& path, std::string* err);
  bool is_open() const { return state_ != nullptr; }
  // Bytes that commit writes before the first line (a byte order mark).
  void set_head(std::string_view head) { head_ = head; }
  // How messages name the file ("output file", "map file").
  void set_role(std::string_view role) { role_ = role; }
  // Writes lines[first..last], each followed by CR LF, and puts them at the
  // path at once; *size is the number of bytes written. On failure the path
  // keeps what it held (unless written in place, see above).
  bool commit(const line_reader& lines, size_t first, size_t last, int64_t* size,
              std::string* err);
  // The first step of commit: the text goes whole to the temporary file (or
  // the copy of a file written in place); the path keeps what it held.
  // A device or FIFO, and a file written in place, get the text from
  // replace, so `lines` and what they view must stay as they are until
  // then. On failure the file is discarded.
  bool write(const line_reader& lines, size_t first, size_t last, int64_t* size,
             std::string* err);
  // The second step: the written text is put at the path.
  bool replace(std::string* err);
  // After write: replace only moves the complete file over the path.
  bool moves_over() const;
  // Drops the temporary file; the path keeps what it held.
  void discard();

  struct state;

 private:
  // Where a file written in place is whole when its rewrite failed.
  std::string complete_text_in(const std::string& kept) const;

  std::unique_ptr<state> state_;
  std::string head_;
  std::string role_ = "output file";
};

// Puts the text of every written file of `files` (those not open are passed
// over) at its path: first those written where they stand (a device, a file
// with several links), then, with no signal or console event in between,
// those moved over their paths. On failure *failed is the one that failed,
// and every file not yet in its place is discarded.
bool replace_together(std::span<output_file* const> files, size_t* failed, std::string* err);

}  // namespace platform
