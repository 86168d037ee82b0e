#include "wordlist/DrawHistory.h"

#include <algorithm>
#include <cstdio>

#include "wordlist/TopicDraw.h"

namespace kivo {

std::string formatDrawTime(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

std::string historyTopicText(const DrawnTopic& topic) {
    return topic.heading.empty() ? topic.text : bracketedHeading(topic.heading) + topic.text;
}

std::string drawModeText(const DrawMode& mode) {
    std::string text = mode.topics == 3 ? "3つ" : "2つ";
    if (mode.byHeading) text += "・見出しごと";
    if (mode.noRepeats) text += "・重複なし";
    return text;
}

namespace {

// One CSV cell: quoted where it holds a comma, a quote or a line break;
// one that starts like a formula (=, +, -, @, a tab or CR) gets an
// apostrophe first, so that a list entry never runs as one.
std::string csvCell(std::string_view text) {
    std::string cell;
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        cell += '\'';
    cell += text;
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string DrawHistory::csv() const {
    std::string out = "\xEF\xBB\xBF日時";
    const std::size_t columns = std::max<std::size_t>(mostTopics_, 2);
    for (std::size_t t = 1; t <= columns; ++t) out += ",お題" + std::to_string(t);
    out += ",選出方法\r\n";
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const DrawRecord& record = newest(i);
        out += formatDrawTime(record.time);
        for (std::size_t t = 0; t < columns; ++t) {
            out += ',';
            if (t < record.topics.size()) out += csvCell(historyTopicText(record.topics[t]));
        }
        out += ',' + drawModeText(record.mode) + "\r\n";
    }
    return out;
}

void DrawHistory::add(DrawRecord record) {
    mostTopics_ = std::max(mostTopics_, record.topics.size());
    records_.push_back(std::move(record));
}

void DrawHistory::clear() {
    records_.clear();
    mostTopics_ = 0;
}

std::string DrawHistory::text(std::string_view lineBreak) const {
    std::string out;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const DrawRecord& record = newest(i);
        out += formatDrawTime(record.time);
        for (const DrawnTopic& topic : record.topics) {
            out += '\t';
            out += historyTopicText(topic);
        }
        out += lineBreak;
    }
    return out;
}

}  // namespace kivo
