// Finding an included file in the folders an include searches, and reading it.
#include "passes/include/include_file_reader.h"

#include <algorithm>
#include <utility>

#include "platform/input_file.h"
#include "script/text_encoding.h"

namespace {

std::string joined(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += '\\';
  path += name;
  return path;
}

}  // namespace

include_lookup include_file_reader::take(const include_places& places,
                                         const include_directive& directive,
                                         const std::string& path, line_table& table,
                                         std::vector<std::string_view>& lines,
                                         std::string_view* text_out, std::string* opened,
                                         std::string* err) {
  const std::string& written =
      directive.written_name.empty() ? directive.name : directive.written_name;
  // A whole path is tried as the line writes it, then as built, before the
  // folders; otherwise both tries repeat the built path, and are skipped.
  const std::string candidates[] = {
      directive.absolute ? directive.shown_name : path,
      directive.absolute ? directive.name : path,
      path,
      joined(places.folder, written),
      joined(places.beside, written),
      joined(places.beside, directive.name),
      joined(places.other_folder, written),
      joined(places.other_folder, directive.name),
  };
  for (size_t i = 0; i < std::size(candidates); ++i) {
    const std::string& candidate = candidates[i];
    if (std::find(candidates, candidates + i, candidate) != candidates + i) continue;
    const location& place = locate(candidate);
    if (!place.found) continue;
    if (auto spliced = spliced_.find(place.identity); spliced != spliced_.end()) {
      *opened = spliced->second;
      return include_lookup::already;
    }
    platform::file_bytes bytes;
    std::string unread;
    if (!platform::read_file_bytes(place.path, /*regular_only=*/true, &bytes, &unread)) continue;
    spliced_.emplace(place.identity, place.path);
    *opened = place.path;
    // The lines are views of the text, which the table keeps.
    std::string_view text;
    text_encoding::byte_order_mark mark;
    if (!text_encoding::keep_script_text(std::move(bytes), table, &text, &mark, err)) {
      return include_lookup::invalid;
    }
    if (mark == text_encoding::byte_order_mark::utf16le ||
        mark == text_encoding::byte_order_mark::utf16be) {
      read_utf16_ = true;
    }
    platform::for_each_text_line(text, [&](std::string_view line) { lines.push_back(line); });
    *text_out = text;
    return include_lookup::read;
  }
  return include_lookup::missing;
}

const include_file_reader::location& include_file_reader::locate(const std::string& built) {
  auto [slot, added] = located_.try_emplace(built);
  location& place = slot->second;
  if (added) {
    place.found = resolver_.resolve(built, &place.path) &&
                  platform::identify_regular_file(place.path, &place.identity);
  }
  return place;
}
