#include <gtest/gtest.h>

#include "FakeWindow.h"
#include "commands/CommandRunner.h"
#include "commands/PresentationCommands.h"
#include "wordlist/Random.h"

namespace kivo {
namespace {

class PresentationCommandsTest : public RunnerTest {
protected:
    void press(PresentationKey key) { session.run(presentationKeyCommand(key)); }
};

TEST_F(PresentationCommandsTest, TheViewDrawsAsTheButtonDoesAndFollowsTheTopicBoxes) {
    window.list = {"犬", "猫", "鳥", "魚", "虫"};
    processRandom().setSeed(45296789u);
    session.run(CommandId::Draw);
    const std::string byButton = window.topics;
    session.run(CommandId::Present);
    EXPECT_EQ(window.view, Lines{"open:light: 鳥/ 猫"});

    // The same seed drawn from the view gives the button's pair, in the
    // topic boxes and in the view, and goes into the history.
    processRandom().setSeed(45296789u);
    press(PresentationKey::Space);
    EXPECT_EQ(window.topics, byButton);
    EXPECT_EQ(window.view.back(), "update: 鳥/ 猫");
    EXPECT_EQ(topics.drawer().history().size(), 2u);
    press(PresentationKey::Enter);
    EXPECT_EQ(topics.drawer().history().size(), 3u);

    // A list too short gets the button's box; the view keeps its pair.
    window.list = {"一つ"};
    const std::size_t told = window.view.size();
    press(PresentationKey::Space);
    EXPECT_EQ(window.shown.back(),
              "message:語句が不足している為、お題をリストアップ出来ませんでした");
    EXPECT_EQ(window.view.size(), told + 1);

    // The main window's own commands reach the view too.
    session.run(CommandId::ClearTopics);
    EXPECT_EQ(window.view.back(), "update:");

    press(PresentationKey::AltEnter);
    press(PresentationKey::AltEnter);
    press(PresentationKey::Escape);
    EXPECT_FALSE(window.viewOpen);
    EXPECT_EQ((Lines{window.view.end() - 3, window.view.end()}),
              (Lines{"windowed", "full screen", "closed"}));

    // F11 opens it again and, from the view or the menu, closes it.
    session.run(CommandId::Present);
    press(PresentationKey::F11);
    session.run(CommandId::Present);
    session.run(CommandId::Present);
    EXPECT_FALSE(window.viewOpen);
    EXPECT_EQ(presentationKeyCommand(PresentationKey::Other), CommandId::None);
}

TEST_F(PresentationCommandsTest, TheDarkThemeIsRememberedAndShownAtOnce) {
    session.run(CommandId::Present);
    session.run(CommandId::DarkPresentation);
    EXPECT_EQ(window.settings[kDarkPresentationSetting], true);
    EXPECT_EQ(window.view.back(), "theme:dark");
    EXPECT_EQ(window.shown.back(), "dark");

    PresentationCommands again{topics, window, window};
    EXPECT_TRUE(again.darkPresentation());
    window.viewOpen = false;
    again.togglePresentation();
    EXPECT_EQ(window.view.back(), "open:dark:");
    // Off again, kept off; the draw mode's switch is untouched.
    again.setDarkPresentation(false);
    EXPECT_EQ(window.settings[kDarkPresentationSetting], false);
    EXPECT_EQ(window.settings.count(kNoRepeatsSetting), 0u);
}

}  // namespace
}  // namespace kivo
