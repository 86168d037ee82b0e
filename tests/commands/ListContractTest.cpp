#include <gtest/gtest.h>

#include <new>
#include <string>

#include "commands/ListContract.h"
#include "core/Errors.h"

namespace kivo {
namespace {

void check(const std::string& text, bool formatted = false, const ListCosts& costs = {}) {
    checkListRoom(shapeOf(text), formatted, costs);
}

TEST(ListContract, HostileListsAreRefusedAndOrdinaryOnesTaken) {
    // Millions of empty lines: a line index many times the text.
    EXPECT_THROW(check(std::string(8'000'000, '\n')), std::bad_alloc);
    // One line of megabytes.
    EXPECT_THROW(check(std::string(kLongestLineBytes + 1, 'x')), UserError);
    // Beyond the memory the list may take at all; formats cost a byte each.
    EXPECT_THROW(check(std::string(1200, 'x'), false, {9, 1000}), std::bad_alloc);
    EXPECT_NO_THROW(check(std::string(600, 'x'), false, {9, 1000}));
    EXPECT_THROW(check(std::string(600, 'x'), true, {9, 1000}), std::bad_alloc);
    // Within bounds a long line and many lines load.
    EXPECT_NO_THROW(check(std::string(kLongestLineBytes, 'x') + std::string(100'000, '\n')));
    // A million ordinary entries fit a control whose lines cost far more.
    std::string million;
    for (int i = 0; i < 1'000'000; ++i) million += "単語リスト\n";
    EXPECT_NO_THROW(check(million, false, {256, std::size_t{1} << 30}));
}

TEST(ListContract, TheShapeOfATextCountsItsLinesAndLongestLine) {
    const TextShape shape = shapeOf("ab\n\nあいう");
    EXPECT_EQ(shape.bytes, 13u);
    EXPECT_EQ(shape.lines, 3u);
    EXPECT_EQ(shape.longestLine, 9u);
    TextShape grown;
    grown.addLine("ab");
    grown.addLine("");
    EXPECT_EQ(grown.lines, shapeOf("ab\n\n").lines);
    EXPECT_EQ(grown.bytes, 4u);
}

}  // namespace
}  // namespace kivo
