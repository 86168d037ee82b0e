#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "FakeWindow.h"
#include "commands/HelpCommands.h"
#include "core/Titles.h"
#include "core/Utf8.h"
#include "support/TempFolder.h"

namespace kivo {
namespace {

class ExampleListsTest : public RunnerTest {
protected:
    TempFolder folder;

    // Installs the example as the program ships it, in the test's folder;
    // gives its bytes.
    std::string install(const char* name) {
        std::ifstream in(std::string(KIVO_EXAMPLES_DIR) + "/" + name, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::ofstream(folder.path(name), std::ios::binary) << bytes;
        window.examples[name] = folder.utf8(name);
        return bytes;
    }
};

TEST_F(ExampleListsTest, AnExampleBecomesANewListOfNoNameReadAsItsSections) {
    const struct {
        CommandId command;
        const char* name;
        std::vector<std::string> headings;
    } examples[] = {
        {CommandId::ExampleStory, kStoryExampleName, {"【人物】", "【場所】", "【もの】"}},
        {CommandId::ExampleDrawing,
         kDrawingExampleName,
         {"【キャラクター】", "【ポーズ】", "【背景】"}},
    };
    for (const auto& example : examples) {
        SCOPED_TRACE(example.name);
        const std::string bytes = install(example.name);
        ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
        window.list = {"犬", "猫"};
        session.run(CommandId::Draw);
        window.modified = true;
        session.files().setCurrentFile("/x/動物.txt");
        window.shown.clear();
        window.answers = {BoxAnswer::No};
        session.run(example.command);

        EXPECT_EQ(window.shown,
                  (Lines{"confirm:現在の単語リストを保存しますか？", "topics cleared"}));
        EXPECT_TRUE(session.currentFile().empty());
        EXPECT_EQ(session.topics(), (std::array<std::string, 2>{}));
        EXPECT_EQ(window.caption, kInitialCaption);
        EXPECT_FALSE(window.modified);
        EXPECT_EQ(window.busy, 0);
        EXPECT_EQ(window.lineCounts.back(), std::to_string(window.list.size()));
        // The loader gives back every line as written, the mark aside.
        std::string text;
        for (const std::string& line : window.list) text += line + "\n";
        EXPECT_EQ(text, bytes.substr(3));

        // Each heading in its place, then 25 to 30 short entries of its own.
        ASSERT_FALSE(window.list.empty());
        ASSERT_TRUE(window.list.front().starts_with("【"));
        std::set<std::string> entries;
        std::vector<std::string> headings;
        std::vector<std::size_t> sectionSizes;
        for (const std::string& line : window.list) {
            if (line.starts_with("【")) {
                headings.push_back(line);
                sectionSizes.push_back(0);
                continue;
            }
            ++sectionSizes.back();
            EXPECT_TRUE(entries.insert(line).second) << "twice: " << line;
            const std::size_t characters = utf8ToUtf16(line).size();
            EXPECT_TRUE(characters >= 1 && characters <= 12) << line;
            EXPECT_EQ(line.find_first_of(" \t"), std::string::npos) << line;
        }
        for (const std::size_t size : sectionSizes) EXPECT_TRUE(size >= 25 && size <= 30) << size;
        EXPECT_EQ(headings, example.headings);
    }
}

TEST_F(ExampleListsTest, AMissingExampleIsAnErrorThatLeavesTheListAsItWas) {
    window.list = {"犬"};
    window.modified = true;
    session.files().setCurrentFile("/x/動物.txt");
    session.run(CommandId::ExampleDrawing);
#ifdef _WIN32
    const std::string shown = "examples\\drawing-practice.txt";
#else
    const std::string shown = "examples/drawing-practice.txt";
#endif
    EXPECT_EQ(window.shown, Lines{"error:ファイル " + shown + " は開けません."});
    EXPECT_EQ(window.list, Lines{"犬"});
    EXPECT_TRUE(window.modified);
    EXPECT_EQ(session.currentFile(), "/x/動物.txt");
}

}  // namespace
}  // namespace kivo
