#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <set>
#include <thread>

#include "FakeWindow.h"
#include "commands/ShareCommands.h"
#include "support/TempFolder.h"
#include "wordlist/Random.h"

namespace kivo {
namespace {

class ShareCommandsTest : public RunnerTest {
protected:
    TempFolder folder;
    std::string file(const char* name) const {
        std::ifstream in(folder.path(name), std::ios::binary);
        if (!in) return "<none>";
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void streamTo(const std::string& path) {
        window.shareAnswers.push_back(ShareSettings{true, path, " × ", "お題：", "#ワンドロ"});
        session.run(CommandId::ShareDialog);
    }
};

TEST_F(ShareCommandsTest, StreamFilesFollowEveryChangeOfTheTopicsAndTheTimer) {
    streamTo(folder.utf8(""));
    EXPECT_EQ(window.strings[kStreamFolderSetting], folder.utf8(""));
    EXPECT_TRUE(window.settings[kStreamOnSetting]);
    // Written at once, so that a text source can be pointed at them.
    EXPECT_EQ(file("topics.txt"), "");
    EXPECT_EQ(file("topic3.txt"), "<none>");

    window.list = {"犬", "猫", "鳥", "魚", "虫"};
    processRandom().setSeed(45296789u);
    session.run(CommandId::Draw);
    // UTF-8, no byte-order mark, no line break at the end.
    EXPECT_EQ(file("topic1.txt"), "鳥");
    EXPECT_EQ(file("topic2.txt"), "猫");
    EXPECT_EQ(file("topics.txt"), "鳥 × 猫");

    session.run(CommandId::ThreeTopics);  // clears the topics shown
    EXPECT_EQ(file("topics.txt"), "");
    session.run(CommandId::Draw);
    EXPECT_NE(file("topic3.txt"), "");
    session.run(CommandId::TwoTopics);
    session.run(CommandId::Draw);
    EXPECT_EQ(file("topic3.txt"), "");  // no third topic left on the stream

    session.run(CommandId::Timer1Minute);
    EXPECT_EQ(file("timer.txt"), "1:00");
    session.run(CommandId::TimerOff);
    EXPECT_EQ(file("timer.txt"), "");

    window.modified = false;
    session.run(CommandId::New);
    EXPECT_EQ(file("topic1.txt"), "");
    EXPECT_EQ(file("topics.txt"), "");
}

TEST_F(ShareCommandsTest, AStreamReaderNeverSeesAPartOfAFile) {
    streamTo(folder.utf8(""));
    const std::string a(20000, 'a'), b(30000, 'b');
    window.list = {a, b};
    std::atomic<bool> done = false;
    std::set<std::string> seen;
    std::thread reader([&] {
        while (!done) {
            std::ifstream in(folder.path("topics.txt"), std::ios::binary);
            if (in) seen.insert({std::istreambuf_iterator<char>(in), {}});
            in.close();
            // As a text source reads: again and again, but not holding the
            // file every moment (Windows renames nothing over an open file).
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    for (int draw = 0; draw < 100; ++draw) session.run(CommandId::Draw);
    done = true;
    reader.join();
    for (const std::string& text : seen)
        EXPECT_TRUE(text.empty() || text == a + " × " + b || text == b + " × " + a) << text.size();
    EXPECT_EQ(std::count_if(window.shown.begin(), window.shown.end(),
                            [](const std::string& s) { return s.starts_with("error:"); }),
              0);
}

TEST_F(ShareCommandsTest, AFailureIsToldOnceAndSwitchesTheOutputOffWithoutStoppingTheDraw) {
    window.shareAnswers = {ShareSettings{true, "", " × ", "お題：", ""}, std::nullopt};
    session.run(CommandId::ShareDialog);  // on without a folder: asked again
    EXPECT_EQ(window.shown.end()[-2], std::string("warning:") + kStreamNeedsFolderText);
    EXPECT_FALSE(window.settings.contains(kStreamOnSetting));

    streamTo(folder.utf8("消えたフォルダ"));
    window.list = {"犬", "猫"};
    session.run(CommandId::Draw);
    session.run(CommandId::Draw);
    const auto errors = std::count_if(window.shown.begin(), window.shown.end(),
                                      [](const std::string& s) { return s.starts_with("error:"); });
    EXPECT_EQ(errors, 1);
    EXPECT_NE(window.shown.back().find(kStreamStoppedText), std::string::npos);
    EXPECT_FALSE(window.settings[kStreamOnSetting]);
    EXPECT_FALSE(session.share().settings().streamOn);
    EXPECT_EQ(topics.drawer().history().size(), 2u);
    EXPECT_FALSE(window.topics.empty());
}

TEST_F(ShareCommandsTest, TopicsAreCopiedAsALineWithTheHashtagBelow) {
    session.run(CommandId::CopyTopics);
    EXPECT_EQ(window.shown.back(), std::string("message:") + kNoTopicsToCopyText);
    window.shareAnswers = {ShareSettings{false, "", "・", "今日のお題：", "#ワンドロ"}};
    session.run(CommandId::ShareDialog);
    window.list = {"猫", "図書館"};
    session.run(CommandId::Draw);
    session.run(CommandId::CopyTopics);
    const bool catFirst = window.topicBoxes[0] == " 猫";
    EXPECT_EQ(window.copied,
              catFirst ? "今日のお題：猫・図書館\n#ワンドロ" : "今日のお題：図書館・猫\n#ワンドロ");
    EXPECT_EQ(window.strings[kShareHashtagSetting], "#ワンドロ");
    EXPECT_EQ(topicsCopyText({{" 猫", ""}, {" 図書館", ""}}, ShareSettings{}), "お題：猫 × 図書館");
}

TEST_F(ShareCommandsTest, TheHistoryIsSavedAsCsvThatExcelOpens) {
    window.list = {"=HYPERLINK(\"x\")", "猫, \"三毛\"", "【人物】"};
    processRandom().setSeed(1u);
    session.run(CommandId::Draw);
    session.run(CommandId::ThreeTopics);
    session.run(CommandId::NoRepeats);
    session.run(CommandId::Draw);
    window.paths = {folder.utf8("履歴.csv")};
    session.run(CommandId::SaveHistoryCsv);
    const std::string csv = file("履歴.csv");
    ASSERT_TRUE(csv.starts_with("\xEF\xBB\xBF日時,お題1,お題2,お題3,選出方法\r\n")) << csv;
    EXPECT_NE(csv.find("2026/12/07 09:30:00,"), std::string::npos);
    // Quoted where needed, a formula kept as text, the mode last.
    EXPECT_NE(csv.find("\"猫, \"\"三毛\"\"\""), std::string::npos);
    EXPECT_NE(csv.find("\"'=HYPERLINK(\"\"x\"\")\""), std::string::npos);
    EXPECT_NE(csv.find(",3つ・重複なし\r\n"), std::string::npos);
    EXPECT_TRUE(csv.ends_with(",2つ\r\n"));  // the oldest last, as the window lists them
}

}  // namespace
}  // namespace kivo
