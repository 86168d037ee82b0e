#pragma once
// Every draw of this run, with its time. Kept in memory only: a new run
// starts with an empty history.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "wordlist/DrawPorts.h"

namespace kivo {

// The modes a draw was made in.
struct DrawMode {
    std::size_t topics = 2;
    bool byHeading = false;
    bool noRepeats = false;
};
// "2つ", "3つ・見出しごと・重複なし".
std::string drawModeText(const DrawMode& mode);

struct DrawRecord {
    LocalTime time;
    DrawnTopics topics;  // the entries' own text, without the blank in front
    DrawMode mode;
};

// "2024/05/01 09:05:07"
std::string formatDrawTime(const LocalTime& time);
// A topic as the history shows it: "【人物】猫" when drawn by heading.
std::string historyTopicText(const DrawnTopic& topic);

class DrawHistory {
public:
    void add(DrawRecord record);
    void clear();
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    // The most topics one draw of the history has: the columns a table needs.
    std::size_t mostTopics() const { return mostTopics_; }
    // The i-th draw counted from the latest (0 is the latest).
    const DrawRecord& newest(std::size_t i) const { return records_[records_.size() - 1 - i]; }
    // One line per draw, latest first: time, then a tab before each topic,
    // each line ended by `lineBreak`. Tabs paste into a spreadsheet as
    // columns.
    std::string text(std::string_view lineBreak = "\n") const;
    // The same rows as CSV that Excel opens as it is: UTF-8 after a
    // byte-order mark, CR LF, a header row, a column per topic and one for
    // the mode. A cell a spreadsheet would take for a formula is kept as
    // text by a leading apostrophe.
    std::string csv() const;

private:
    std::vector<DrawRecord> records_;  // oldest first
    std::size_t mostTopics_ = 0;
};

}  // namespace kivo
