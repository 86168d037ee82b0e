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
