#include <gtest/gtest.h>

#include "FakeWindow.h"
#include "commands/EditCommands.h"
#include "core/Errors.h"

namespace kivo {
namespace {

class EditCommandsTest : public ::testing::Test {
protected:
    FakeWindow window;
    EditCommands edits{window, window};
};

TEST_F(EditCommandsTest, ListModeConvertsEveryLineWholeAndMarksTheList) {
    // A long line: far beyond both a 255-byte piece and a 4096-byte line read.
    std::string longLine(3000, 'a');
    std::string longFull;
    for (int i = 0; i < 3000; ++i) longLine += "ｶ", longFull += "ａ";
    for (int i = 0; i < 3000; ++i) longFull += "カ";
    window.list = {"abc", "", "ﾃﾞｰﾀ 漢字", longLine};
    edits.toFullWidth();
    EXPECT_EQ(window.list, (Lines{"ａｂｃ", "", "データ　漢字", longFull}));
    EXPECT_TRUE(window.modified);
    edits.toHalfWidth();
    EXPECT_EQ(window.list[2], "ﾃﾞｰﾀ 漢字");

    window.list.clear();
    window.modified = true;
    edits.toFullWidth();  // an empty list stays empty and unmarked
    EXPECT_TRUE(window.list.empty());
    EXPECT_FALSE(window.modified);
}

TEST_F(EditCommandsTest, LinesBeyondTheCapacityComeBackUnconverted) {
    window.list = {"ab", "cd", "ef"};
    window.room = 6;  // "ａｂ\nｃｄ\n" fits, the third does not
    EXPECT_THROW(edits.toFullWidth(), UserError);
    EXPECT_EQ(window.list, (Lines{"ａｂ", "ｃｄ", "ef"}));
    EXPECT_EQ(window.busy, 0);  // the wait cursor is gone on this way out too

    // Full width takes three bytes for one: a list that would no longer fit
    // in the control's memory stays as it was.
    window.room = 1u << 20;
    window.list = {std::string(100, 'a')};
    window.costs.memoryBudget = 200;
    EXPECT_THROW(edits.toFullWidth(), std::bad_alloc);
    EXPECT_EQ(window.list, Lines{std::string(100, 'a')});
}

TEST_F(EditCommandsTest, EveryCommandThatChangesTheListMarksIt) {
    // Whatever the control makes of its own mark (an editor that empties its
    // undo buffer also moves its save point), the list is marked.
    using Command = void (EditCommands::*)();
    for (const Command command : {&EditCommands::toFullWidth,
                                  &EditCommands::toHalfWidth, &EditCommands::cut,
                                  &EditCommands::paste, &EditCommands::undo}) {
        for (const bool selected : {true, false}) {
            window.list = {"abc", "ｶﾞ"};
            window.selection = selected ? std::optional<std::string>("c") : std::nullopt;
            window.modified = false;
            (edits.*command)();
            const bool cutWithoutSelection = command == &EditCommands::cut && !selected;
            EXPECT_EQ(window.modified, !cutWithoutSelection);
        }
    }
    EXPECT_EQ(window.busy, 0);
    EXPECT_EQ(window.busyShown, 4);  // the conversions, both roads
}

TEST_F(EditCommandsTest, APasteTheListCouldNotHoldIsRefusedBeforeItGoesIn) {
    window.list = {"犬"};
    window.clipboard = std::string(8'000'000, '\n');
    EXPECT_THROW(edits.paste(), std::bad_alloc);
    EXPECT_TRUE(window.shown.empty());
    EXPECT_FALSE(window.modified);
    window.clipboard = "猫\n鳥";
    edits.paste();
    EXPECT_EQ(window.shown, Lines{"paste"});
}

TEST_F(EditCommandsTest, ASelectionIsConvertedAsOnePieceAndTheEditorCommandsGoToTheList) {
    window.list = {"abc", "ｶﾞ x"};
    window.selection = "c\nｶﾞ x";
    edits.toFullWidth();
    edits.undo();
    window.selection = "c";
    edits.cut();
    edits.copy();
    edits.paste();
    edits.selectAll();
    EXPECT_EQ(window.shown,
              (Lines{"replaced:ｃ\nガ　ｘ", "undo", "cut", "copy", "paste", "select all"}));
    EXPECT_EQ(window.list, (Lines{"abc", "ｶﾞ x"}));  // the lines are not converted too
}

}  // namespace
}  // namespace kivo
