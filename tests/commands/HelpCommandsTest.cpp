#include <gtest/gtest.h>

#include "FakeWindow.h"
#include "commands/HintRule.h"
#include "commands/HelpCommands.h"

namespace kivo {
namespace {

class HelpCommandsTest : public ::testing::Test {
protected:
    FakeWindow window;
    HelpCommands help{HelpPorts{window, window, window, window, window, window, window}};
};

TEST_F(HelpCommandsTest, TheUpdateQuestionOpensTheMakersPageOnYesOnlyWithTopMostAside) {
    window.answers = {BoxAnswer::No};
    help.checkForUpdate();
    window.answers = {BoxAnswer::Yes};
    help.checkForUpdate();
    const std::string ask =
        "ask:Kivo アップデート:開発者ホームページに接続します\r\n\r\n"
        "Kivo の最新情報は TOP ページに設置してあるリンクを辿り、\r\n"
        "Software 内コンテンツを御参照下さい\r\n\r\nブラウザを起動しますか？";
    EXPECT_EQ(window.shown, (Lines{"lower", ask, "raise", "lower", ask,
                                   "browser:https://quillery.example.jp/", "raise"}));
}

TEST_F(HelpCommandsTest, HelpLeavesTheTopMostWindowsLoweredAndACancelledSetUpPrintsNothing) {
    help.showHelp();
    help.showAbout();
    window.printerChosen = false;
    help.printList();
    window.printerChosen = true;
    help.printList();
    EXPECT_EQ(window.shown,
              (Lines{"help", "lower", "about", "printer set-up", "printer set-up", "printed"}));
}

TEST(EditCommands, EditEnablingFollowsTheFocusedControlAndTheClipboard) {
    const EditEnabling none = judgeEditCommands({}, false);
    EXPECT_FALSE(none.cut || none.copy || none.paste || none.selectAll || none.undo);
    const EditEnabling all = judgeEditCommands({true, true, true}, true);
    EXPECT_TRUE(all.cut && all.copy && all.paste && all.selectAll && all.undo);
    const EditEnabling text = judgeEditCommands({false, true, false}, true);
    EXPECT_TRUE(!text.cut && !text.copy && text.paste && text.selectAll && !text.undo);
}

TEST(HintRule, TheHintLineShowsTheLongPartAndChangesOnlyWhenTheHintDoes) {
    EXPECT_EQ(HintRule::longHint("短い|長いヒント"), "長いヒント");
    EXPECT_EQ(HintRule::longHint("ヒント"), "ヒント");
    EXPECT_EQ(HintRule::longHint("a|b|c"), "b|c");

    HintRule hints;
    EXPECT_TRUE(hints.highlight("短い|長い"));
    EXPECT_EQ(hints.shown(), "長い");
    EXPECT_FALSE(hints.highlight("短い|長い"));
    EXPECT_FALSE(hints.idle(true, "単語リスト"));  // a menu or a box is open
    EXPECT_EQ(hints.shown(), "長い");
    EXPECT_TRUE(hints.idle(false, "単語リスト"));
    EXPECT_TRUE(hints.idle(false, ""));  // the pointer is over nothing
    EXPECT_EQ(hints.shown(), "");
}

}  // namespace
}  // namespace kivo
