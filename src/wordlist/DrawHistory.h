#pragma once
// Every pair drawn in this run, with the time of its draw. Kept in memory
// only: a new run starts with an empty history.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "wordlist/DrawPorts.h"

namespace kivo {

struct DrawRecord {
    LocalTime time;
    std::string topic1;  // the entries' own text, without the blank in front
    std::string topic2;
};

// "2024/05/01 09:05:07"
std::string formatDrawTime(const LocalTime& time);

class DrawHistory {
public:
    void add(DrawRecord record) { records_.push_back(std::move(record)); }
    void clear() { records_.clear(); }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    // The i-th draw counted from the latest (0 is the latest).
    const DrawRecord& newest(std::size_t i) const { return records_[records_.size() - 1 - i]; }
    // One line per draw, latest first: time, tab, topic 1, tab, topic 2,
    // each line ended by `lineBreak`. Tabs paste into a spreadsheet as
    // three columns.
    std::string text(std::string_view lineBreak = "\n") const;

private:
    std::vector<DrawRecord> records_;  // oldest first
};

}  // namespace kivo
