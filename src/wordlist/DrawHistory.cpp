#include "wordlist/DrawHistory.h"

#include <cstdio>

namespace kivo {

std::string formatDrawTime(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

std::string DrawHistory::text(std::string_view lineBreak) const {
    std::string out;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const DrawRecord& record = newest(i);
        out += formatDrawTime(record.time);
        out += '\t';
        out += record.topic1;
        out += '\t';
        out += record.topic2;
        out += lineBreak;
    }
    return out;
}

}  // namespace kivo
