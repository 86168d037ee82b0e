#pragma once
// What the fuzz targets of the Word readers share: a run of a reader with a
// list that takes only so many lines, every line checked as it comes.
#include <algorithm>
#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "files/FileError.h"
#include "files/WordText.h"

namespace kivo::fuzz {

struct Extraction {
    // The reader stopped with an error the loader reports: the read error;
    // of an Office reader also a line longer than any a list takes, or the
    // document's budget spent (std::bad_alloc).
    bool broken = false;
    WordTextOutcome outcome = WordTextOutcome::Completed;
    std::vector<std::string> lines;
    std::size_t textBytes = 0;
};

// read(sink) runs the reader. Each line must be UTF-8 without any of
// `forbidden`, and nothing may be offered after a refusal.
template <typename Read>
Extraction extractChecked(Read read, std::size_t acceptAtMost, std::string_view forbidden) {
    Extraction result;
    bool refused = false;
    try {
        result.outcome = read([&](std::string_view line) {
            FUZZ_CHECK(!refused);
            FUZZ_CHECK(isUtf8(line));
            FUZZ_CHECK(line.find_first_of(forbidden) == std::string_view::npos);
            if (result.lines.size() >= acceptAtMost) {
                refused = true;
                return false;
            }
            result.lines.emplace_back(line);
            result.textBytes += line.size();
            return true;
        });
    } catch (const FileError& e) {
        FUZZ_CHECK(e.code() == kReadPastEnd);
        result.broken = true;
    } catch (const UserError& e) {
        FUZZ_CHECK(std::string_view(e.what()) == "行数が長すぎてファイルが開けません");
        result.broken = true;
    } catch (const std::bad_alloc&) {
        result.broken = true;
    } catch (...) {
        FUZZ_CHECK(!"an exception other than the loader's");
    }
    if (!result.broken) FUZZ_CHECK(refused == (result.outcome == WordTextOutcome::AppendRefused));
    return result;
}

// `refused` is the run of the same reader on a list full after half of the
// lines of `all`: it has the first half and nothing more.
inline void checkRefusedHalfway(const Extraction& all, const Extraction& refused) {
    FUZZ_CHECK(!refused.broken);
    FUZZ_CHECK(refused.outcome ==
               (all.lines.empty() ? WordTextOutcome::Completed : WordTextOutcome::AppendRefused));
    FUZZ_CHECK(refused.lines.size() == all.lines.size() / 2 &&
               std::equal(refused.lines.begin(), refused.lines.end(), all.lines.begin()));
}

// A spreadsheet read a section per column begins with a heading's line:
// 【…】, something between.
inline void checkStartsWithHeading(const Extraction& sections) {
    if (sections.lines.empty()) return;
    const std::string_view first = sections.lines.front();
    FUZZ_CHECK(first.size() > 6 && first.starts_with("\xE3\x80\x90") &&
               first.ends_with("\xE3\x80\x91"));
}

}  // namespace kivo::fuzz
