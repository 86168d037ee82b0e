#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <new>

#include "FileCommandsFixture.h"
#include "support/ZipWriter.h"
#include "commands/ListContract.h"
#include "files/WordListLoader.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

class LoaderTest : public FileCommandsFixture {
protected:
    std::string failureOf(const std::string& path) {
        return errorOf([&] { commands.openListFile(path); });
    }
};

const std::string kBefore = "before.txt  >>>  Kivo version 1.33";
const std::string kTooManyLines = "warning:行数が長すぎてファイルが開けません";

TEST_F(LoaderTest, PlainTextInEveryLineBreakStyleAndEncoding) {
    window.modified = true;
    const std::string cp932 = write("動物.txt", "\x8C\xA2\r\n\x94\x4C\rbird\nfish");
    commands.openListFile(cp932);
    EXPECT_EQ(window.list, (Lines{"犬", "猫", "bird", "fish"}));
    EXPECT_EQ(window.caption, "動物.txt  >>>  Kivo version 1.33");
    EXPECT_EQ(commands.currentFile(), cp932);
    EXPECT_FALSE(window.modified);

    commands.openListFile(write("utf8.txt", "猫\n😀\n"));
    EXPECT_EQ(window.list, (Lines{"猫", "😀"}));
    commands.openListFile(write("bom.txt", std::string("\xFF\xFE\x2B\x59\x0D\x00\x0A\x00", 8)));
    EXPECT_EQ(window.list, Lines{"夫"});
    EXPECT_TRUE(window.shown.empty());
}

TEST_F(LoaderTest, EmptyAndTinyFilesAreTextAndBecomeCurrent) {
    window.list = {"old"};
    const std::string empty = write("empty.txt", "");
    commands.openListFile(empty);
    EXPECT_TRUE(window.list.empty());
    EXPECT_EQ(commands.currentFile(), empty);
    commands.openListFile(write("tiny", "{\\rt"));
    EXPECT_EQ(window.list, Lines{"{\\rt"});
}

TEST_F(LoaderTest, RtfLoadsAsParagraphs) {
    commands.openListFile(
        write("list.rtf",
              "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}"
              "\\f0 \\'8c\\'a2\\par {\\b bold}\\par plain}"));
    EXPECT_EQ(window.list, (Lines{"犬", "bold", "plain"}));
    EXPECT_EQ(window.caption, "list.rtf  >>>  Kivo version 1.33");
    EXPECT_FALSE(window.modified);
}

TEST_F(LoaderTest, OpenFailuresChangeNothing) {
    window.list = {"keep"};
    commands.setCurrentFile("/before.txt");
    EXPECT_EQ(failureOf(at("missing.txt")), "ファイルが見つかりません");
    EXPECT_EQ(failureOf(at("no-folder/x.txt")), "不正なファイル名です");
    EXPECT_EQ(failureOf(utf8Of(folder.root())), "ファイルへのアクセスが拒否されました");
    EXPECT_EQ(window.list, Lines{"keep"});
    EXPECT_EQ(commands.currentFile(), "/before.txt");
}

TEST_F(LoaderTest, ReadOnlyFilesLoad) {
    const std::string path = write("ro.txt", "a\nb");
    fs::permissions(pathFromUtf8(path), fs::perms::owner_read | fs::perms::group_read);
    commands.openListFile(path);
    EXPECT_EQ(window.list, (Lines{"a", "b"}));
}

std::string compound(std::size_t size, std::uint8_t kind) {
    std::string f(size, '\0');
    f.replace(0, 6, "\xD0\xCF\x11\xE0\xA1\xB1");
    if (size > 516) f[516] = static_cast<char>(kind);
    return f;
}

TEST_F(LoaderTest, WordDocumentsAppendLinesAndKeepTheCurrentFile) {
    commands.openListFile(write("before.txt", "x"));
    window.modified = true;
    std::string doc = compound(1280 + 2 * 513, 0x69);
    doc.replace(1280, 6,
                std::string("\xA0\x82\x41\x00\x0D"
                            "B",
                            6));
    doc.replace(1280 + 513, 2,
                "\x0D"
                "C");
    commands.openListFile(write("文書.doc", doc));
    EXPECT_EQ(window.list, (Lines{"あA", "B"}));
    EXPECT_EQ(window.caption, kBefore);
    // Appending its lines is editing the list.
    EXPECT_TRUE(window.modified);

    EXPECT_EQ(failureOf(write("short.doc", compound(1279, 0))),
              "ファイルの末尾以降を読み込みました");
    EXPECT_TRUE(window.list.empty());
    EXPECT_EQ(window.caption, kBefore);
}

TEST_F(LoaderTest, AListAtItsCapacityWarnsOnceAndKeepsItsLines) {
    std::string doc = compound(1280 + 2 * 513, 0x69);
    doc.replace(1280, 8, "one\rtwo\r");
    doc.replace(1280 + 513, 8, "three\rf\r");
    window.room = 8;  // "one\ntwo\n" fits, "three\n" does not
    commands.openListFile(write("big.doc", doc));
    EXPECT_EQ(window.list, (Lines{"one", "two"}));
    EXPECT_EQ(window.shown, Lines{kTooManyLines});
}

// The list of tests/data/make-word-fixtures.sh.
Lines wordFixtureLines() {
    std::string longLine = "長い段落";
    for (int i = 0; i < 300; ++i) longLine += "あいうえおかきくけこ";
    return {"犬", "猫と鳥", "ｶﾀｶﾅ半角", "タブ\t区切り",   "改行前",  "改行後", "春",  "夏",
            "秋", "冬",     "ページ1",  "残す文字と挿入", "絵文字😀", longLine, "最後"};
}

TEST_F(LoaderTest, TodaysWordDocumentsLoadAsWordDocumentsDo) {
    // By their content, whatever their names say.
    for (const auto& [fixtureName, name] : {std::pair{"word-libreoffice-list.doc", "一覧.doc"},
                                            std::pair{"word-libreoffice-list.docx", "一覧.txt"}}) {
        commands.openListFile(write("before.txt", "x"));
        commands.openListFile(write(name, testData(fixtureName)));
        EXPECT_EQ(window.list, wordFixtureLines()) << name;
        // The caption keeps the file before; appending lines is editing.
        EXPECT_EQ(window.caption, kBefore);
        EXPECT_TRUE(window.modified);
    }
    EXPECT_TRUE(window.shown.empty());
}

TEST_F(LoaderTest, TodaysWordDocumentsAtCapacityWarnOnce) {
    for (const char* name : {"word-libreoffice-list.doc", "word-libreoffice-list.docx"}) {
        window.shown.clear();
        window.room = 13;  // 犬, 猫と鳥 and ｶﾀｶﾅ半角 fit, with their line breaks
        commands.openListFile(write(name, testData(name)));
        EXPECT_EQ(window.list, (Lines{"犬", "猫と鳥", "ｶﾀｶﾅ半角"})) << name;
        EXPECT_EQ(window.shown, Lines{kTooManyLines});
    }
}

TEST_F(LoaderTest, ALongDocumentStopsAtTheCapacityWithTheLinesBeforeIt) {
    // Lines enough to reach the list in several blocks before the one that
    // does not fit.
    std::string body;
    for (int i = 0; i < 150'000; ++i) body += "<w:p><w:r><w:t>ab</w:t></w:r></w:p>";
    const std::vector<std::uint8_t> docx = test::zipOf(
        {{"word/document.xml",
          "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
          "<w:body>" + body + "</w:body></w:document>"}});
    window.room = 300'000;  // 100,000 lines of "ab\n"
    commands.openListFile(write("long.docx", std::string(docx.begin(), docx.end())));
    ASSERT_EQ(window.list.size(), 100'000u);
    EXPECT_TRUE(std::all_of(window.list.begin(), window.list.end(),
                            [](const std::string& line) { return line == "ab"; }));
    EXPECT_EQ(window.shown, Lines{kTooManyLines});

    // A paragraph longer than any line the list takes is refused as the
    // whole-file load refuses it, the list as it was.
    window.room = 4 * kLongestLineBytes;
    const std::vector<std::uint8_t> wide = test::zipOf(
        {{"word/document.xml",
          "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
          "<w:body><w:p><w:r><w:t>" +
              std::string(kLongestLineBytes + 1, 'x') +
              "</w:t></w:r></w:p></w:body></w:document>"}});
    EXPECT_EQ(failureOf(write("wide.docx", std::string(wide.begin(), wide.end()))),
              "行数が長すぎてファイルが開けません");
    EXPECT_EQ(window.list.size(), 100'000u);
}

TEST_F(LoaderTest, BrokenWordDocumentsAreReadErrorsAndOtherZipsText) {
    commands.openListFile(write("before.txt", "x"));
    const std::string docx = testData("word-libreoffice-list.docx");
    EXPECT_EQ(failureOf(write("cut.docx", docx.substr(0, docx.size() / 2))),
              "ファイルの末尾以降を読み込みました");
    EXPECT_EQ(window.caption, kBefore);
    // A ZIP archive without word/document.xml is no Word document.
    const std::string zip = write("other.zip", std::string("PK\x03\x04rest", 8));
    commands.openListFile(zip);
    EXPECT_EQ(commands.currentFile(), zip);
}

TEST_F(LoaderTest, SpreadsheetsAndOpenDocumentsLoadByTheirContent) {
    // Whatever their names say; the lines themselves are pinned in
    // tests/files/OfficeDocumentsTest.cpp.
    struct Case {
        const char *fixture, *name, *first, *last;
        std::size_t lines;
    };
    for (const Case& c :
         {Case{"calc-libreoffice-list.xlsx", "一覧.txt", "犬", "同じ", 26},
          Case{"calc-libreoffice-list.ods", "一覧.xlsx", "犬", "同じ", 26},
          Case{"calc-libreoffice-list.fods", "一覧.xml", "犬", "同じ", 26},
          Case{"writer-libreoffice-list.odt", "文書", "見出し", "最後", 17},
          Case{"writer-libreoffice-list.fodt", "文書.fodt", "見出し", "最後", 17}}) {
        commands.openListFile(write("before.txt", "x"));
        commands.openListFile(write(c.name, testData(c.fixture)));
        ASSERT_EQ(window.list.size(), c.lines) << c.fixture;
        EXPECT_EQ(window.list.front(), c.first) << c.fixture;
        EXPECT_EQ(window.list.back(), c.last) << c.fixture;
        EXPECT_EQ(window.caption, kBefore) << c.fixture;
        EXPECT_TRUE(window.modified) << c.fixture;
    }
    EXPECT_TRUE(window.shown.empty());
}

// The loader's target at its plainest, asking for a spreadsheet's sheets a
// section per column.
class SectionsTarget : public WordListTarget {
public:
    void clearList() override { text.clear(); }
    void admit(StyledText&) override {}
    void checkRoom(const TextShape&) const override {}
    void loadWholeText(StyledText whole) override { text = std::move(whole.text); }
    std::size_t capacity() const override { return kDefaultCapacity; }
    void appendText(std::string_view lines) override { text.append(lines); }
    bool sheetColumnsAsSections() const override { return true; }

    std::string text;
};

TEST_F(LoaderTest, ATargetReadInSectionsGetsASpreadsheetsColumnsUnderTheirHeadings) {
    // The sections themselves are pinned in tests/files/OfficeDocumentsTest.cpp.
    for (const char* name : {"calc-libreoffice-list.xlsx", "calc-libreoffice-list.ods"}) {
        SectionsTarget target;
        LoadReport report;
        loadWordListContent(testData(name), target, report);
        EXPECT_TRUE(target.text.starts_with("【犬】\n123\n12345678901\n")) << name;
        EXPECT_TRUE(target.text.ends_with("\n【42】\n繰\n")) << name;
        EXPECT_FALSE(report.linesLeftOut) << name;
    }
}

TEST_F(LoaderTest, DamagedSpreadsheetsAndOpenDocumentsKeepTheList) {
    std::string noStrings = testData("calc-libreoffice-list.xlsx");
    for (std::size_t at = 0; (at = noStrings.find("xl/sharedStrings.xml", at)) != noStrings.npos;) {
        noStrings[at + 3] = 'X';
    }
    const auto half = [&](const char* name) {
        const std::string whole = testData(name);
        return whole.substr(0, whole.size() / 2);
    };
    for (const auto& [name, bytes] : {std::pair{"cut.xlsx", half("calc-libreoffice-list.xlsx")},
                                      std::pair{"strings.xlsx", noStrings},
                                      std::pair{"cut.ods", half("calc-libreoffice-list.ods")},
                                      std::pair{"cut.odt", half("writer-libreoffice-list.odt")}}) {
        commands.openListFile(write("before.txt", "x"));
        EXPECT_EQ(failureOf(write(name, bytes)), "ファイルの末尾以降を読み込みました") << name;
        EXPECT_EQ(window.list, Lines{"x"}) << name;
        EXPECT_EQ(window.caption, kBefore) << name;
    }
}

TEST_F(LoaderTest, ADamagedOldWordDocumentGivesAnEmptyListWithoutAMessage) {
    // Nothing at the fixed places, so the document's own structure is read,
    // and that is damaged: the fixed places' empty result stands.
    const std::string doc = testData("word-libreoffice-list.doc");
    std::size_t fib = 512;  // the WordDocument stream's first sector: the FIB's identifier
    while (fib + 2 < doc.size() && !(doc[fib] == '\xEC' && doc[fib + 1] == '\xA5')) fib += 512;
    ASSERT_LT(fib + 0x9A + 34 * 8, doc.size());
    std::string pieceTablePastTheEnd = doc;
    pieceTablePastTheEnd[fib + 0x9A + 33 * 8 + 3] = '\x7F';
    std::string zeroFib = doc;
    std::fill_n(zeroFib.begin() + static_cast<std::ptrdiff_t>(fib), 0x9A + 34 * 8, '\0');
    for (const auto& [name, bytes] : {std::pair{"directory cut short", doc.substr(0, 4096)},
                                      std::pair{"piece table past the end", pieceTablePastTheEnd},
                                      std::pair{"FIB all zeros", zeroFib}}) {
        window.list = {"犬"};
        EXPECT_NO_THROW(commands.openListFile(write("damaged.doc", bytes))) << name;
        EXPECT_TRUE(window.list.empty()) << name;
        EXPECT_TRUE(window.shown.empty()) << name;
    }
}

TEST_F(LoaderTest, AWordDocumentMeetsTheSameMemoryRuleAsATextFile) {
    // Eight million paragraph marks, at the fixed places of an old Word
    // document and as line breaks in a text file.
    constexpr std::size_t kBlocks = 8'000'000 / 513 + 1;
    std::string doc = compound(1280 + kBlocks * 513, 0x69);
    std::fill(doc.begin() + 1280, doc.end(), '\r');
    write("marks.doc", doc);
    write("marks.txt", std::string(kBlocks * 513, '\n'));
    window.room = kDefaultCapacity;
    for (const char* name : {"marks.doc", "marks.txt"}) {
        window.list = {"犬"};
        window.modified = true;
        EXPECT_THROW(commands.openListFile(at(name)), std::bad_alloc) << name;
        EXPECT_EQ(window.list, Lines{"犬"}) << name;
        EXPECT_EQ(window.busy, 0) << name;
    }
}

TEST_F(LoaderTest, AFileTooLargeForMemoryIsRefusedCleanly) {
    const std::string path = write("huge.txt", "");
    fs::resize_file(pathFromUtf8(path), kWholeFileLimit + 1);  // sparse: costs no disk
    EXPECT_EQ(failureOf(path), "ストリームからの読み込みに失敗しました");
    // The caption already names the file; the list stays empty.
    EXPECT_EQ(commands.currentFile(), path);
    EXPECT_TRUE(window.list.empty());
}

}  // namespace
}  // namespace kivo
