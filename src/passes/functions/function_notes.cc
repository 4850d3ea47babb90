// What the unused-function pass writes into the run's records: each function,
// its deletion or what keeps it.
#include "passes/functions/function_notes.h"

#include "names/keep_list.h"

#include <algorithm>
#include <deque>

function_notes::function_notes(run_records& records, const function_headers& found,
                               const line_table& lines, function_usage_index* index)
    : records_(records) {
  records_.functions.clear();
  records_.functions.reserve(found.headers.size());
  for (const function_header& header : found.headers) {
    run_records::function_record r;
    r.header = lines[header.line];
    r.slot = header.line;
    r.name = header.name;
    records_.functions.push_back(r);
  }
  next_.resize(records_.functions.size() + 1);
  for (size_t r = 0; r < next_.size(); ++r) next_[r] = static_cast<int32_t>(r);
  if (index != nullptr) index->note_forgotten_uses(&forgotten_);
}

int32_t function_notes::record_at(int32_t slot) const {
  const auto& all = records_.functions;
  auto at =
      std::lower_bound(all.begin(), all.end(), slot,
                       [](const run_records::function_record& r, int32_t s) { return r.slot < s; });
  return static_cast<int32_t>(at - all.begin());
}

int32_t function_notes::next_kept(int32_t r) {
  int32_t root = r;
  while (next_[root] != root) root = next_[root];
  while (next_[r] != root) r = std::exchange(next_[r], root);
  return root;
}

void function_notes::mark_gone(int32_t r) { next_[r] = r + 1; }

void function_notes::deleted(int32_t header_line, int32_t run, int32_t last) {
  const int32_t d = record_at(header_line);
  if (static_cast<size_t>(d) == records_.functions.size()) return;
  run_records::function_record& own = records_.functions[d];
  own.status = run_records::state::deleted;
  own.run = run;
  own.erased_with = -1;
  own.lost_before = records_.lost_mentions.size();
  mark_gone(d);
  for (int32_t r = next_kept(d + 1);
       static_cast<size_t>(r) < records_.functions.size() && records_.functions[r].slot <= last;
       r = next_kept(r)) {
    records_.functions[r].status = run_records::state::erased;
    records_.functions[r].run = run;
    records_.functions[r].erased_with = d;
    mark_gone(r);
  }
  if (reach_ != nullptr) own.unreached = !reach_->reached(own.name);
  for (auto [line, name] : forgotten_) {
    if (reach_ == nullptr || reach_->reached(name)) records_.lost_mentions.push_back({name, line, d});
  }
  forgotten_.clear();
}

void function_notes::tree_shaken(const function_reach& reach) {
  reach_ = &reach;
  if (!records_.reasons_on) return;
  reach.for_each_unreached_mention([&](int32_t name, int32_t line, int32_t header) {
    // Before any deletion a header's index is its record's.
    records_.lost_mentions.push_back({name, line, header});
  });
}

void function_notes::finish(const function_usage_index& index,
                            const std::vector<keep_entry>& entries,
                            const normalized_lines& transformed_lines, int32_t line_count) {
  auto& all = records_.functions;
  // The functions left, in line order, and the lines each spans: from its
  // header to its EndFunc, or up to the next one left when none comes first.
  std::vector<int32_t> kept;
  for (size_t r = 0; r < all.size(); ++r) {
    if (all[r].status == run_records::state::kept) kept.push_back(static_cast<int32_t>(r));
  }
  std::vector<int32_t> ends(kept.size());
  for (size_t k = 0; k < kept.size(); ++k) {
    const int32_t stop = k + 1 < kept.size() ? all[kept[k + 1]].slot - 1 : line_count;
    int32_t line = all[kept[k]].slot;
    while (line < stop && !closes_function(transformed_lines[line])) ++line;
    ends[k] = line;
  }
  // Per name, the first function left that bears it.
  int32_t names = 0;
  for (const auto& record : all) names = std::max(names, record.name + 1);
  std::vector<int32_t> kept_of_name(static_cast<size_t>(names), -1);
  for (int32_t r : kept) {
    if (kept_of_name[all[r].name] < 0) kept_of_name[all[r].name] = r;
  }

  // The uses still counted, each with the function whose lines hold it (-1:
  // top-level code): those of one function follow one another.
  struct mention {
    int32_t line;
    int32_t target;  // the record named
    int32_t owner;   // index into `kept`, -1 for top-level code
  };
  std::vector<mention> mentions;
  size_t k = 0;
  index.for_each_counted_use([&](int32_t line, int32_t name) {
    const int32_t target = kept_of_name[name];
    // A header's own line names it without keeping it.
    if (target < 0 || all[target].slot == line) return;
    while (k < kept.size() && ends[k] < line) ++k;
    const bool inside = k < kept.size() && all[kept[k]].slot <= line;
    mentions.push_back({line, target, inside ? static_cast<int32_t>(k) : -1});
  });
  std::vector<std::pair<size_t, size_t>> owned(kept.size(), {0, 0});
  for (size_t m = mentions.size(); m-- > 0;) {
    if (mentions[m].owner < 0) continue;
    auto& span = owned[mentions[m].owner];
    if (span.second == 0) span.second = m + 1;
    span.first = m;
  }

  // From the roots out, breadth first, so that each function's keeper is on
  // a shortest chain: keep entries, then top-level lines, then the lines of
  // the functions they keep.
  std::deque<int32_t> reached;  // indices into `kept`
  std::vector<int32_t> kept_index(all.size(), -1);
  for (size_t i = 0; i < kept.size(); ++i) kept_index[kept[i]] = static_cast<int32_t>(i);
  keep_list finder(entries, keep_list::kind::functions);
  for (int32_t r : kept) {
    const keep_entry* keeper = finder.keeps(function_name(transformed_lines[all[r].slot]));
    all[r].keep_entry = keeper == nullptr ? -1 : static_cast<int32_t>(keeper - entries.data());
    all[r].rooted = all[r].keep_entry >= 0;
    if (all[r].rooted) reached.push_back(kept_index[r]);
  }
  auto reach = [&](int32_t target, int32_t line, int32_t owner_record) {
    run_records::function_record& t = all[target];
    if (t.rooted) return;
    t.rooted = true;
    t.keeper_slot = line;
    t.keeper_function = owner_record;
    reached.push_back(kept_index[target]);
  };
  for (const mention& m : mentions) {
    if (m.owner < 0) reach(m.target, m.line, -1);
  }
  while (!reached.empty()) {
    const int32_t owner = reached.front();
    reached.pop_front();
    for (size_t m = owned[owner].first; m < owned[owner].second; ++m) {
      reach(mentions[m].target, mentions[m].line, kept[owner]);
    }
  }
  // Functions that only name each other in a circle: the first line that
  // names each still says what keeps it.
  for (const mention& m : mentions) {
    run_records::function_record& t = all[m.target];
    if (t.rooted || t.keeper_slot != 0) continue;
    t.keeper_slot = m.line;
    t.keeper_function = m.owner < 0 ? -1 : kept[m.owner];
  }
  for (int32_t r : kept) {
    if (all[r].keeper_slot > 0) all[r].keeper_text = transformed_lines[all[r].keeper_slot];
  }
  // A second function of the same name stands and falls with the first.
  for (int32_t r : kept) {
    const int32_t first = kept_of_name[all[r].name];
    if (first == r) continue;
    all[r].keep_entry = all[first].keep_entry;
    all[r].keeper_slot = all[first].keeper_slot;
    all[r].keeper_function = all[first].keeper_function;
    all[r].keeper_text = all[first].keeper_text;
    all[r].rooted = all[first].rooted;
  }
}
