#include "wordlist/TopicDraw.h"

namespace kivo {

DrawResult drawTopics(const WordListSource& list, RandomGenerator& random) {
    DrawResult result;
    const std::uint32_t n = list.count();
    if (n == 0) {
        result.outcome = DrawOutcome::NoEntries;
        return result;
    }
    if (n == 1) {
        result.outcome = DrawOutcome::OneEntry;
        return result;
    }
    result.first = random.nextIndex(n);
    do {
        result.second = random.nextIndex(n);
    } while (result.second == result.first);

    const std::string first = list.line(result.first);
    if (first.empty()) {
        result.outcome = DrawOutcome::EmptyEntry;
        return result;
    }
    const std::string second = list.line(result.second);
    if (second.empty()) {
        result.outcome = DrawOutcome::EmptyEntry;
        return result;
    }
    result.outcome = DrawOutcome::Drawn;
    result.topic1 = " " + first;
    result.topic2 = " " + second;
    return result;
}

std::string drawMessage(DrawOutcome outcome) {
    switch (outcome) {
        case DrawOutcome::NoEntries:
            return "語句リストに語句を追加して下さい";
        case DrawOutcome::OneEntry:
            return "語句が不足している為、お題をリストアップ出来ませんでした";
        case DrawOutcome::EmptyEntry:
            return "語句リストに空白が含まれています";
        case DrawOutcome::Drawn:
            break;
    }
    return {};
}

}  // namespace kivo
