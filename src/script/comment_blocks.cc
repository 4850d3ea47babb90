// The comment block rule: where a line's comment starts, and how the walk over
// the lines opens and closes blocks.
#include "script/comment_blocks.h"

#include "platform/byte_scan.h"

namespace comment_blocks {

namespace {

constexpr std::string_view kCs = "#cs";
constexpr std::string_view kCe = "#ce";
constexpr std::string_view kCommentsStart = "#comments-start";
constexpr std::string_view kCommentsEnd = "#comments-end";

}  // namespace

size_t line_comment_start(std::string_view line, size_t from) {
  for (size_t p = from; (p = byte_scan::find_first<';', '\'', '"'>(line, p)) != npos;) {
    if (line[p] == ';') return p;
    const size_t close = line[p] == '"' ? byte_scan::find_first<'"'>(line, p + 1)
                                        : byte_scan::find_first<'\''>(line, p + 1);
    if (close == npos) return npos;
    p = close + 1;
  }
  return npos;
}

marks marks_of(std::string_view line, size_t first_hash, size_t comment) {
  marks found;
  // An opener counts only where it stands wholly before the line comment.
  const size_t kept = comment == npos ? line.size() : comment;
  // Every marker starts with "#": one walk over the line's "#"s finds them.
  for (size_t p = first_hash; p != npos; p = byte_scan::find_first<'#'>(line, p + 1)) {
    const std::string_view marker = line.substr(p);
    if (marker.starts_with(kCs)) {
      if (found.opens_cs == npos && p + kCs.size() <= kept) found.opens_cs = p;
    } else if (marker.starts_with(kCe)) {
      found.closes_cs = true;
    } else if (marker.starts_with(kCommentsStart)) {
      if (found.opens_comments == npos && p + kCommentsStart.size() <= kept) {
        found.opens_comments = p;
      }
    } else if (marker.starts_with(kCommentsEnd)) {
      found.closes_comments = true;
    }
  }
  return found;
}

marks marks_of(std::string_view line) {
  const size_t first_hash = byte_scan::find_first<'#'>(line);
  if (first_hash == npos) return {};
  return marks_of(line, first_hash, line_comment_start(line));
}

line_fate walker::next(const marks& line, size_t* keep) {
  switch (open_) {
    case kind::cs:
      if (line.closes_cs) {
        open_ = comments_waiting_ ? kind::comments : kind::none;
        comments_waiting_ = false;
      }
      return line_fate::emptied;
    case kind::comments:
      if (line.closes_comments) open_ = kind::none;
      return line_fate::emptied;
    case kind::none:
      break;
  }
  if (line.opens_cs != npos) {
    open_ = kind::cs;
    *keep = line.opens_cs;
    // "#comments-start" before the "#cs" survives the cut at "#cs" and opens
    // its own block once the first has closed.
    if (line.opens_comments != npos &&
        line.opens_comments + kCommentsStart.size() <= line.opens_cs) {
      comments_waiting_ = true;
      *keep = line.opens_comments;
    }
    return line_fate::opens;
  }
  if (line.opens_comments != npos) {
    open_ = kind::comments;
    *keep = line.opens_comments;
    return line_fate::opens;
  }
  return line_fate::kept;
}

}  // namespace comment_blocks
