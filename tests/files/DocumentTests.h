#pragma once
// What the tests of the document readers share: the documents LibreOffice
// wrote (tests/data), a reader's lines gathered, the loader's read error.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "files/FileError.h"
#include "files/WordText.h"

namespace kivo::test {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

inline Bytes fixture(const char* name) {
    std::ifstream in(std::string(KIVO_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The lines an extraction hands on, the sink refusing after acceptAtMost;
// an Office reader's with the budget it has unless told, a spreadsheet's
// row by row.
template <typename Extract>
Lines linesOf(const Bytes& file, Extract extract, WordTextOutcome* outcome = nullptr,
              std::size_t acceptAtMost = SIZE_MAX) {
    Lines lines;
    const LineSink sink = [&](std::string_view line) {
        if (lines.size() >= acceptAtMost) return false;
        lines.emplace_back(line);
        return true;
    };
    WordTextOutcome o{};
    if constexpr (std::is_invocable_v<Extract, const Bytes&, const LineSink&>) {
        o = extract(file, sink);
    } else if constexpr (std::is_invocable_v<Extract, const Bytes&, const LineSink&, ReadBudget>) {
        o = extract(file, sink, ReadBudget());
    } else {
        o = extract(file, sink, ReadBudget(), SheetLayout::Rows);
    }
    if (outcome) *outcome = o;
    return lines;
}

template <typename F>
void expectReadError(F f, const std::string& what) {
    try {
        f();
        ADD_FAILURE() << what << ": no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.code(), kReadPastEnd) << what;
        EXPECT_STREQ(e.what(), "ファイルの末尾以降を読み込みました") << what;
    }
}

// f refuses a document for a line longer than any a list takes, with the
// message a text file with such a line gets.
template <typename F>
void expectTooLong(F f, const std::string& what) {
    try {
        f();
        ADD_FAILURE() << what << ": no error";
    } catch (const FileError& e) {
        ADD_FAILURE() << what << ": " << e.what();
    } catch (const UserError& e) {
        EXPECT_STREQ(e.what(), "行数が長すぎてファイルが開けません") << what;
    }
}

}  // namespace kivo::test
