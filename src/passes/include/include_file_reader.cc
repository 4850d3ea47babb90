#include "passes/include/include_file_reader.h"

#include <algorithm>
#include <utility>

#include "platform/input_file.h"

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
                                         std::string* opened) {
  const std::string& written =
      directive.written_name.empty() ? directive.name : directive.written_name;
  const std::string candidates[] = {
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
    std::string err;
    if (!platform::read_file_bytes(place.path, /*regular_only=*/true, &bytes, &err)) continue;
    spliced_.emplace(place.identity, place.path);
    std::string_view text = table.keep(std::move(bytes.data), bytes.size);
    platform::for_each_text_line(text, [&](std::string_view line) { lines.push_back(line); });
    *opened = place.path;
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
