#include <gtest/gtest.h>

#include <QLabel>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/TMainForm.h"
#include "files/WordListLoader.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

class LoaderTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    TMainForm form{boxes};
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kivo-loader-" + std::to_string(std::random_device{}()) + "-語句");
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir / fs::path(std::u8string(name.begin(), name.end()));
        std::ofstream(p, std::ios::binary) << bytes;
        const std::u8string u8 = p.u8string();
        return std::string(u8.begin(), u8.end());
    }
    QStringList lines() const {
        QStringList out;
        for (int i = 0; i < ui(form).Memo->count(); ++i) out << ui(form).Memo->line(i);
        return out;
    }
    QString errorOf(const std::string& path) {
        try {
            form.LoadWordListFile(path);
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    }
};

TEST_F(LoaderTest, PlainTextInEveryLineBreakStyleAndEncoding) {
    ui(form).Memo->setModified(true);
    const std::string cp932 = write("動物.txt", "\x8C\xA2\r\n\x94\x4C\rbird\nfish");
    form.LoadWordListFile(cp932);
    EXPECT_EQ(lines(), (QStringList{"犬", "猫", "bird", "fish"}));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("動物.txt  >>>  Kivo version 1.33"));
    EXPECT_EQ(form.currentFile(), cp932);
    EXPECT_FALSE(ui(form).Memo->isModified());
    EXPECT_EQ(ui(form).Memo->capacity(), kRaisedCapacity);

    form.LoadWordListFile(write("utf8.txt", "猫\n😀\n"));
    EXPECT_EQ(lines(), (QStringList{"猫", "😀"}));
    form.LoadWordListFile(write("bom.txt", std::string("\xFF\xFE\x2B\x59\x0D\x00\x0A\x00", 8)));
    EXPECT_EQ(lines(), (QStringList{"夫"}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LoaderTest, EmptyAndTinyFilesAreTextAndBecomeCurrent) {
    ui(form).Memo->setPlainUtf8("old");
    const std::string empty = write("empty.txt", "");
    form.LoadWordListFile(empty);
    EXPECT_EQ(ui(form).Memo->count(), 0);
    EXPECT_EQ(form.currentFile(), empty);
    form.LoadWordListFile(write("tiny", "{\\rt"));
    EXPECT_EQ(lines(), QStringList{"{\\rt"});
}

TEST_F(LoaderTest, RtfLoadsAsFormattedParagraphs) {
    const std::string rtf =
        write("list.rtf",
              "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}"
              "\\f0 \\'8c\\'a2\\par {\\b bold}\\par plain}");
    form.LoadWordListFile(rtf);
    EXPECT_EQ(lines(), (QStringList{"犬", "bold", "plain"}));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("list.rtf  >>>  Kivo version 1.33"));
    EXPECT_FALSE(ui(form).Memo->isModified());
    EXPECT_TRUE(ui(form).Memo->styleAt(2).bold);   // "bold" on line 1
    EXPECT_FALSE(ui(form).Memo->styleAt(7).bold);  // "plain" on line 2
}

TEST_F(LoaderTest, OpenFailuresChangeNothing) {
    ui(form).Memo->setPlainUtf8("keep");
    form.SetCurrentFile("/before.txt");
    EXPECT_EQ(errorOf((dir / "missing.txt").string()), QStringLiteral("ファイルが見つかりません"));
    EXPECT_EQ(errorOf((dir / "no-folder" / "x.txt").string()),
              QStringLiteral("不正なファイル名です"));
    EXPECT_EQ(errorOf(dir.string()), QStringLiteral("ファイルへのアクセスが拒否されました"));
    EXPECT_EQ(lines(), QStringList{"keep"});
    EXPECT_EQ(form.currentFile(), "/before.txt");
}

TEST_F(LoaderTest, ReadOnlyFilesLoad) {
    const std::string path = write("ro.txt", "a\nb");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    form.LoadWordListFile(path);
    EXPECT_EQ(lines(), (QStringList{"a", "b"}));
}

std::string compound(std::size_t size, std::uint8_t kind) {
    std::string f(size, '\0');
    f.replace(0, 6, "\xD0\xCF\x11\xE0\xA1\xB1");
    if (size > 516) f[516] = static_cast<char>(kind);
    return f;
}

TEST_F(LoaderTest, WordDocumentsAppendLinesAndKeepTheCurrentFile) {
    form.LoadWordListFile(write("before.txt", "x"));
    ui(form).Memo->setModified(true);
    std::string doc = compound(1280 + 2 * 513, 0x69);
    doc.replace(1280, 6,
                std::string("\xA0\x82\x41\x00\x0D"
                            "B",
                            6));
    doc.replace(1280 + 513, 2,
                "\x0D"
                "C");
    form.LoadWordListFile(write("文書.doc", doc));
    EXPECT_EQ(lines(), (QStringList{"あA", "B"}));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("before.txt  >>>  Kivo version 1.33"));
    // Appending its lines is editing the list.
    EXPECT_TRUE(ui(form).Memo->isModified());

    EXPECT_EQ(errorOf(write("short.doc", compound(1279, 0))),
              QStringLiteral("ファイルの末尾以降を読み込みました"));
    EXPECT_EQ(ui(form).Memo->count(), 0);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("before.txt  >>>  Kivo version 1.33"));
}

TEST_F(LoaderTest, AListAtItsCapacityWarnsOnceAndKeepsItsLines) {
    std::string doc = compound(1280 + 2 * 513, 0x69);
    doc.replace(1280, 8, "one\rtwo\r");
    doc.replace(1280 + 513, 8, "three\rf\r");
    ui(form).Memo->setCapacity(8);  // "one\ntwo\n" fits, "three\n" does not
    form.LoadWordListFile(write("big.doc", doc));
    EXPECT_EQ(lines(), (QStringList{"one", "two"}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ScriptedBoxes::Shown::Warning);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("行数が長すぎてファイルが開けません"));
}

std::string fixture(const char* name) {
    std::ifstream in(std::string(KIVO_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The list of tests/data/make-word-fixtures.sh.
QStringList wordFixtureLines() {
    QString longLine = QStringLiteral("長い段落");
    for (int i = 0; i < 300; ++i) longLine += QStringLiteral("あいうえおかきくけこ");
    return {QStringLiteral("犬"),       QStringLiteral("猫と鳥"),
            QStringLiteral("ｶﾀｶﾅ半角"), QStringLiteral("タブ\t区切り"),
            QStringLiteral("改行前"),   QStringLiteral("改行後"),
            QStringLiteral("春"),       QStringLiteral("夏"),
            QStringLiteral("秋"),       QStringLiteral("冬"),
            QStringLiteral("ページ1"),  QStringLiteral("残す文字と挿入"),
            QStringLiteral("絵文字😀"),  longLine,
            QStringLiteral("最後")};
}

TEST_F(LoaderTest, TodaysWordDocumentsLoadAsWordDocumentsDo) {
    // By their content, whatever their names say.
    for (const auto& [fixtureName, name] : {std::pair{"word-libreoffice-list.doc", "一覧.doc"},
                                            std::pair{"word-libreoffice-list.docx", "一覧.txt"}}) {
        form.LoadWordListFile(write("before.txt", "x"));
        form.LoadWordListFile(write(name, fixture(fixtureName)));
        // Whole lines: line(i) reads at most 4096 bytes, less than the long one.
        EXPECT_EQ(ui(form).Memo->allLines(), wordFixtureLines()) << name;
        // The caption keeps the file before; appending lines is editing.
        EXPECT_EQ(form.windowTitle(), QStringLiteral("before.txt  >>>  Kivo version 1.33"));
        EXPECT_TRUE(ui(form).Memo->isModified());
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LoaderTest, TodaysWordDocumentsAtCapacityWarnOnce) {
    for (const char* name : {"word-libreoffice-list.doc", "word-libreoffice-list.docx"}) {
        boxes.shown.clear();
        ui(form).Memo->setCapacity(13);  // 犬, 猫と鳥 and ｶﾀｶﾅ半角 fit, with their line breaks
        form.LoadWordListFile(write(name, fixture(name)));
        EXPECT_EQ(lines(), (QStringList{"犬", "猫と鳥", "ｶﾀｶﾅ半角"})) << name;
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, QStringLiteral("行数が長すぎてファイルが開けません"));
    }
}

TEST_F(LoaderTest, BrokenWordDocumentsAreReadErrorsAndOtherZipsText) {
    form.LoadWordListFile(write("before.txt", "x"));
    const std::string docx = fixture("word-libreoffice-list.docx");
    EXPECT_EQ(errorOf(write("cut.docx", docx.substr(0, docx.size() / 2))),
              QStringLiteral("ファイルの末尾以降を読み込みました"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("before.txt  >>>  Kivo version 1.33"));
    // A ZIP archive without word/document.xml is no Word document.
    const std::string zip = write("other.zip", std::string("PK\x03\x04rest", 8));
    form.LoadWordListFile(zip);
    EXPECT_EQ(form.currentFile(), zip);
}

TEST_F(LoaderTest, AFileTooLargeForMemoryIsRefusedCleanly) {
    const std::string path = write("huge.txt", "");
    fs::resize_file(path, kWholeFileLimit + 1);  // sparse: costs no disk
    EXPECT_EQ(errorOf(path), QStringLiteral("ストリームからの読み込みに失敗しました"));
    // The caption already names the file; the list stays empty.
    EXPECT_EQ(form.currentFile(), path);
    EXPECT_EQ(ui(form).Memo->count(), 0);
}

}  // namespace
}  // namespace kivo
