#include "driver/no_warn.h"

#include <string_view>

#include "names/keep_list.h"
#include "report/diagnostics.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"

namespace {

std::string unknown_kind(std::string_view kind) {
  std::string text = "'";
  text.append(kind).append("' is no kind of warning (kinds: ");
  const auto& kinds = diagnostics::warning_kinds();
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (i > 0) text += ", ";
    text += kinds[i];
  }
  return text + ")";
}

}  // namespace

void silence_kinds(const std::vector<std::string>& kinds) {
  for (const std::string& kind : kinds) {
    if (diagnostics::is_warning_kind(kind)) {
      diagnostics::silence(kind);
    } else {
      diagnostics::warning("--no-warn: " + unknown_kind(kind), "no-warn");
    }
  }
}

void read_no_warn_pragmas(const autoitsourcefile& script) {
  std::string_view list;
  for (const int32_t i : script.comment_lines) {
    if (!is_no_warn_pragma(script.lines[i], &list)) continue;
    while (true) {
      const size_t comma = list.find(',');
      std::string_view kind = list.substr(0, comma);
      while (!kind.empty() && is_blank_or_tab(kind.front())) kind.remove_prefix(1);
      while (!kind.empty() && (is_blank_or_tab(kind.back()) || kind.back() == '\r')) {
        kind.remove_suffix(1);
      }
      if (diagnostics::is_warning_kind(kind)) {
        diagnostics::silence(kind);
      } else if (!kind.empty()) {
        const line_origin where = script.origins.of(static_cast<size_t>(i));
        diagnostics::warning_at(where.file, where.line, unknown_kind(kind), "no-warn");
      }
      if (comma == std::string_view::npos) break;
      list.remove_prefix(comma + 1);
    }
  }
}
