// All the cuts of one shared declaration line at once. Cutting items one by
// one costs the whole line per cut, which a line declaring thousands of
// variables turns into hours; done together they cost about the line once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One unused variable to cut out of a declaration it shares, as
// cut_shared_item takes it.
struct shared_cut {
  std::string_view name;
  bool previous_shares = false;
  bool next_shares = false;
  std::string_view next_name;
};

// The cuts of one line, in the order they are made, read one at a time: a
// caller that holds them in a table of its own (the pass, its variable
// table) hands them over without a copy per cut.
class shared_cut_list {
 public:
  virtual size_t size() const = 0;
  virtual shared_cut operator[](size_t i) const = 0;

 protected:
  ~shared_cut_list() = default;
};

// Cuts already in a list of their own.
class listed_cuts final : public shared_cut_list {
 public:
  explicit listed_cuts(const std::vector<shared_cut>& cuts) : cuts_(cuts) {}
  size_t size() const override { return cuts_.size(); }
  shared_cut operator[](size_t i) const override { return cuts_[i]; }

 private:
  const std::vector<shared_cut>& cuts_;
};

// Leaves `line` exactly as cut_shared_item would, called for each cut in
// turn. For names as the declaration scan records them, the time is about
// proportional to the line's length plus the names' (and the names are
// sorted once), however often the declaring words run on into the next
// item; other names are cut one by one.
void cut_shared_items(std::string& line, const std::vector<shared_cut>& cuts);

// The same, writing the line as the cuts leave it at `out`, which has room
// for line.size() bytes, instead of rewriting it; returns its length.
size_t write_cut_line(std::string_view line, const shared_cut_list& cuts, char* out);
