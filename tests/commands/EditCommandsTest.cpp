#include <gtest/gtest.h>

#include "FakeWindow.h"
#include "commands/EditCommands.h"
#include "core/Errors.h"

namespace kivo {
namespace {

class EditCommandsTest : public ::testing::Test {
protected:
    FakeWindow window;
    EditCommands edits{window};
};

TEST_F(EditCommandsTest, ListModeConvertsEveryLineWholeAndMarksTheList) {
    // A long line: far beyond both a 255-byte piece and a 4096-byte line read.
    std::string longLine(3000, 'a');
    std::string longFull;
    for (int i = 0; i < 3000; ++i) longLine += "ｶ", longFull += "ａ";
    for (int i = 0; i < 3000; ++i) longFull += "カ";
    window.list = {"abc", "", "ﾃﾞｰﾀ 漢字", longLine};
    edits.mnuFullWidthClick();
    EXPECT_EQ(window.list, (Lines{"ａｂｃ", "", "データ　漢字", longFull}));
    EXPECT_TRUE(window.modified);
    edits.mnuHalfWidthClick();
    EXPECT_EQ(window.list[2], "ﾃﾞｰﾀ 漢字");

    window.list.clear();
    window.modified = true;
    edits.mnuFullWidthClick();  // an empty list stays empty and unmarked
    EXPECT_TRUE(window.list.empty());
    EXPECT_FALSE(window.modified);
}

TEST_F(EditCommandsTest, LinesBeyondTheCapacityComeBackUnconverted) {
    window.list = {"ab", "cd", "ef"};
    window.room = 6;  // "ａｂ\nｃｄ\n" fits, the third does not
    EXPECT_THROW(edits.mnuFullWidthClick(), UserError);
    EXPECT_EQ(window.list, (Lines{"ａｂ", "ｃｄ", "ef"}));
}

TEST_F(EditCommandsTest, ASelectionIsConvertedAsOnePieceAndTheEditorCommandsGoToTheList) {
    window.list = {"abc", "ｶﾞ x"};
    window.selection = "c\nｶﾞ x";
    edits.mnuFullWidthClick();
    edits.EditUndoClick();
    edits.EditCutClick();
    edits.EditCopyClick();
    edits.EditPasteClick();
    edits.EditSelectAllClick();
    EXPECT_EQ(window.shown,
              (Lines{"replaced:ｃ\nガ　ｘ", "undo", "cut", "copy", "paste", "select all"}));
    EXPECT_EQ(window.list, (Lines{"abc", "ｶﾞ x"}));  // the lines are not converted too
}

}  // namespace
}  // namespace kivo
