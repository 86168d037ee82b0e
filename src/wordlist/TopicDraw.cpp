#include "wordlist/TopicDraw.h"

#include <algorithm>

#include "core/Utf8.h"

namespace kivo {
namespace {

DrawResult stopped(DrawOutcome outcome) {
    DrawResult result;
    result.outcome = outcome;
    return result;
}

}  // namespace

DrawResult drawTopics(const WordListSource& list, RandomGenerator& random, std::size_t count) {
    const std::uint32_t n = list.count();
    if (n == 0) return stopped(DrawOutcome::NoEntries);
    if (n < count) {
        return stopped(count == kFewestTopics ? DrawOutcome::OneEntry : DrawOutcome::TooFewEntries);
    }
    DrawResult result;
    auto& positions = result.positions;
    while (positions.size() < count) {
        std::uint32_t next = random.nextIndex(n);
        while (std::find(positions.begin(), positions.end(), next) != positions.end()) {
            next = random.nextIndex(n);
        }
        positions.push_back(next);
    }
    for (const std::uint32_t position : positions) {
        std::string text = list.line(position);
        if (text.empty()) {
            result.outcome = DrawOutcome::EmptyEntry;
            result.topics.clear();
            return result;
        }
        result.topics.push_back({" " + text, {}});
    }
    result.outcome = DrawOutcome::Drawn;
    return result;
}

std::string_view headingOf(std::string_view line) {
    const std::string_view text = trimBlanks(line);
    if (!text.starts_with(kHeadingOpen) || !text.ends_with(kHeadingClose) ||
        text.size() < kHeadingOpen.size() + kHeadingClose.size()) {
        return {};
    }
    const std::string_view inner = trimBlanks(
        text.substr(kHeadingOpen.size(), text.size() - kHeadingOpen.size() - kHeadingClose.size()));
    // "【A】【B】" is an entry, not a heading named "A】【B".
    if (inner.find(kHeadingOpen) != std::string_view::npos ||
        inner.find(kHeadingClose) != std::string_view::npos) {
        return {};
    }
    return inner;
}

bool isBlankLine(std::string_view line) { return trimBlanks(line).empty(); }

std::vector<ListSection> readSections(const WordListSource& list) {
    std::vector<ListSection> sections;
    const std::uint32_t n = list.count();
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::string line = list.line(i);
        if (const std::string_view heading = headingOf(line); !heading.empty()) {
            sections.push_back({std::string(heading), {}});
        } else if (!sections.empty() && !isBlankLine(line)) {
            sections.back().entries.push_back(i);
        }
    }
    return sections;
}

std::size_t drawableEntries(const std::vector<ListSection>& sections) {
    std::size_t total = 0;
    for (const ListSection& section : sections) total += section.entries.size();
    return total;
}

DrawResult checkSections(const std::vector<ListSection>& sections, std::size_t count) {
    DrawResult result;
    for (std::size_t k = 0; k < count; ++k) {
        if (k >= sections.size()) {
            result.outcome = DrawOutcome::MissingSection;
            result.missingSection = k + 1;
            return result;
        }
        if (sections[k].entries.empty()) {
            result.outcome = DrawOutcome::EmptySection;
            result.section = sections[k].heading;
            return result;
        }
    }
    result.outcome = DrawOutcome::Drawn;
    return result;
}

DrawResult drawFromSections(const std::vector<ListSection>& sections, const WordListSource& list,
                            RandomGenerator& random, std::size_t count) {
    DrawResult result = checkSections(sections, count);
    if (result.outcome != DrawOutcome::Drawn) return result;
    for (std::size_t k = 0; k < count; ++k) {
        const ListSection& section = sections[k];
        const auto size = static_cast<std::uint32_t>(section.entries.size());
        result.positions.push_back(section.entries[random.nextIndex(size)]);
    }
    for (std::size_t k = 0; k < count; ++k) {
        result.topics.push_back({" " + list.line(result.positions[k]), sections[k].heading});
    }
    return result;
}

std::string drawMessage(const DrawResult& result) {
    switch (result.outcome) {
        case DrawOutcome::MissingSection:
            if (result.missingSection == 1) {
                return "見出しがありません。【人物】のような見出しの行で語句を分けて下さい";
            }
            return std::to_string(result.missingSection) + "つ目の見出しがありません";
        case DrawOutcome::EmptySection:
            return "見出し" + bracketedHeading(result.section) + "に語句がありません";
        default:
            return drawMessage(result.outcome);
    }
}

std::string drawMessage(DrawOutcome outcome) {
    switch (outcome) {
        case DrawOutcome::NoEntries:
            return "語句リストに語句を追加して下さい";
        case DrawOutcome::OneEntry:
            return "語句が不足している為、お題をリストアップ出来ませんでした";
        case DrawOutcome::TooFewEntries:
            return "語句が不足している為、三つのお題をリストアップ出来ませんでした";
        case DrawOutcome::EmptyEntry:
            return "語句リストに空白が含まれています";
        case DrawOutcome::MissingSection:
        case DrawOutcome::EmptySection:
        case DrawOutcome::Drawn:
            break;
    }
    return {};
}

}  // namespace kivo
