#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/Errors.h"
#include "files/ListExport.h"
#include "files/WordListLoader.h"
#include "support/TempFolder.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <cerrno>
#include <csignal>

#include "support/ChildProcess.h"
#endif

namespace kivo {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Characters where code page 932 tables differ (0x7F, 0x80, controls) came
// back changed once; so did escaped control characters.
const std::string kAwkwardList =
    "犬\n表ソ\n{a\\b}\n\ttab\nｶﾞ 半角\n😀 emoji\n한국어\n\nnbsp\xC2\xA0here\n～〜\n"
    "行 \x7Fz\na\xC2\x80"
    "b\nA\x02\x1A\x1C\n最後";

TEST(ListToRtf, OurReaderGetsEveryLineBack) {
    for (const std::string& text :
         {kAwkwardList, kAwkwardList + "\n", std::string(), std::string("\n\n")}) {
        const std::string rtf = listToRtf({text, {}}, "ＭＳ ゴシック", 24);
        EXPECT_EQ(styledTextFromBytes(rtf).text, text) << rtf;
    }
}

TEST(ListToRtf, DeclaresCodePage932AndEscapesWhatItCannotHold) {
    const std::string rtf = listToRtf({"犬😀\n", {}}, "ＭＳ ゴシック", 24);
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg932"));
    EXPECT_NE(rtf.find("\\fcharset128 \\'82\\'6c\\'82\\'72 \\'83\\'53"), std::string::npos);
    EXPECT_NE(rtf.find("\\'8c\\'a2"), std::string::npos);           // 犬 in code page 932
    EXPECT_NE(rtf.find("\\u-10179?\\u-8704?"), std::string::npos);  // 😀 as a surrogate pair
    EXPECT_NE(rtf.find("\\par"), std::string::npos);
    for (const char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80);  // 7-bit clean
    // 〜 as the bytes of ～, behind the very character for Unicode readers.
    EXPECT_NE(listToRtf({"〜", {}}, "ＭＳ ゴシック", 24).find("{\\uc2\\u12316\\'81\\'60}"),
              std::string::npos);
}

TEST(ListToRtf, FormattingSurvivesTheRoundTrip) {
    TextStyle bold;
    bold.bold = true;
    TextStyle red;
    red.color = 0xCC0000;
    red.italic = true;
    red.halfPoints = 32;
    red.fontFamily = "IPAGothic";
    const StyledText list{"plain bold\nred\nlast", {{6, 4, bold}, {11, 3, red}}};
    const StyledText back = styledTextFromBytes(listToRtf(list, "ＭＳ ゴシック", 24));
    EXPECT_EQ(back.text, list.text);
    // The reader reports the list's own font and size as formatting too;
    // what matters is what the styled stretches carry.
    std::vector<std::pair<std::string, TextStyle>> styled;
    for (const StyledRange& r : back.ranges) {
        if (r.style->bold || r.style->italic) {
            // ASCII text: UTF-16 positions are byte positions. A stretch
            // may take the line break behind it along.
            std::string part = back.text.substr(r.start, r.length);
            if (part.ends_with('\n')) part.pop_back();
            styled.emplace_back(part, r.style);
        }
    }
    ASSERT_EQ(styled.size(), 2u);
    EXPECT_EQ(styled[0].first, "bold");
    EXPECT_TRUE(styled[0].second.bold);
    EXPECT_EQ(styled[1].first, "red");
    EXPECT_EQ(styled[1].second.color, 0xCC0000u);
    EXPECT_EQ(styled[1].second.halfPoints, 32);
    EXPECT_EQ(styled[1].second.fontFamily, "IPAGothic");
}

TEST(ListToRtf, AColourMetAgainKeepsItsIndex) {
    TextStyle red;
    red.color = 0xCC0000;
    const StyledText list{"red\nplain\nred", {{0, 3, red}, {10, 3, red}}};
    const StyledText back = styledTextFromBytes(listToRtf(list, "ＭＳ ゴシック", 24));
    ASSERT_EQ(back.text, list.text);
    // ASCII text: UTF-16 positions are byte positions.
    const auto colourAt = [&](std::size_t at) -> std::optional<std::uint32_t> {
        for (const StyledRange& r : back.ranges)
            if (r.start <= at && at < r.start + r.length) return r.style->color;
        return std::nullopt;
    };
    for (const std::size_t at : {0u, 2u, 10u, 12u}) EXPECT_EQ(colourAt(at), 0xCC0000u) << at;
    for (const std::size_t at : {4u, 8u}) EXPECT_EQ(colourAt(at), std::nullopt) << at;
}

TEST(ListToText, CodePage932WithCrLfOrUtf8WhenNeeded) {
    EXPECT_EQ(listToText("犬\nｶﾞ\n"), "\x8C\xA2\r\n\xB6\xDE\r\n");
    EXPECT_EQ(listToText("a\nb"), "a\r\nb");
    EXPECT_EQ(listToText("犬\n😀"), "\xEF\xBB\xBF犬\r\n😀");
    EXPECT_EQ(listToText(""), "");
    // The JIS forms that input methods type are code page 932 too.
    EXPECT_EQ(listToText("〜\n—¢"), "\x81\x60\r\n\x81\x5C\x81\x91");
}

class SafeWriteTest : public ::testing::Test {
protected:
    TempFolder folder;
    const fs::path& dir = folder.root();
};

TEST_F(SafeWriteTest, ReplacesWholeKeepsRightsAndLeavesNoTemporaryFile) {
    const fs::path target = dir / "list.txt";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    writeFileSafely(target, "new");
    EXPECT_EQ(readAll(target), "new");
#ifndef _WIN32
    // Windows files have no such bits: their rights come from the folder.
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    const fs::path fresh = dir / "新しい.txt";
    writeFileSafely(fresh, "x");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(static_cast<unsigned>(fs::status(fresh).permissions()), 0666u & ~mask);
}

TEST_F(SafeWriteTest, AFailedSaveLeavesTheOldFileAndSaysWhy) {
    const fs::path target = dir / "keep.txt";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read);  // read-only: not replaced
    try {
        writeFileSafely(target, "new");
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + utf8Of(target) + " を作成できません");
    }
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_THROW(writeFileSafely(dir / "missing" / "x.txt", "x"), std::exception);
}

// What a failed save says: an I/O error at the end of a write in place is
// told as one, as it is when the write itself fails, where a rename refused
// for the same reason keeps the program's old text.
TEST(SaveFailure, TheEndOfAWriteInPlaceSaysWhatWentWrong) {
#ifdef _WIN32
    constexpr int kIoError = 23;  // ERROR_CRC
    const std::string ioText = "I/O エラー (23)";
#else
    constexpr int kIoError = EIO;
    const std::string ioText = "I/O エラー (-5)";
#endif
    const auto textOf = [&](FileReplacement::Failure failure) {
        try {
            throwSaveFailure("list.txt", failure, kIoError);
        } catch (const UserError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(textOf(FileReplacement::Failure::Finish), ioText);
    EXPECT_EQ(textOf(FileReplacement::Failure::Replace), "ファイル list.txt を作成できません");
}

#ifndef _WIN32
// Where the folder takes no new file, a writable file is written in place
// while its old content waits in $XDG_CACHE_HOME/kivo; without that copy
// the file is left alone, and the error says why.
TEST_F(SafeWriteTest, AWritableFileInAClosedFolderIsWrittenInPlaceOnlyBesideACopy) {
    const fs::path folder = dir / "closed";
    fs::create_directory(folder);
    const fs::path target = folder / "list.txt";
    const std::string old(64 << 10, 'o');
    std::ofstream(target) << old;
    giveToChild(target);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const fs::path cache = dir / "cache" / "kivo";
    fs::create_directories(cache);
    giveToChild(cache.parent_path());
    giveToChild(cache);
    std::ofstream(dir / "file") << "x";
    // A cache on a disk of 16 KiB, where root may mount one.
    const fs::path full = dir / "full" / "kivo";
    fs::create_directories(full);
    const bool fullMounted =
        ::geteuid() == 0 && std::system(("mount -t tmpfs -o size=16k,mode=0700,uid=65534,gid=65534 "
                                         "tmpfs '" +
                                         full.string() + "'")
                                            .c_str()) == 0;
    const struct Unmount {
        bool mounted;
        fs::path disk;
        ~Unmount() {
            if (mounted) std::system(("umount '" + disk.string() + "'").c_str());
        }
    } unmount{fullMounted, full};

    EXPECT_TRUE(inChildProcess([&] {
        const auto refusal = [&](const fs::path& cacheHome) {
            ::setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
            std::string text;
            try {
                writeFileSafely(target, "new");
                ADD_FAILURE() << "written without a copy";
            } catch (const UserError& e) {
                text = e.what();
            }
            EXPECT_EQ(readAll(target), old);
            return text;
        };
        // No cache folder can be made under a file: no fault of the list's name.
        EXPECT_EQ(refusal(dir / "file"), "ファイル " + utf8Of(target) + " を作成できません");
        fs::permissions(cache, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(refusal(cache.parent_path()), "ファイルへのアクセスが拒否されました");
        fs::permissions(cache, fs::perms::owner_all);
        if (fullMounted) {
            EXPECT_EQ(refusal(full.parent_path()), "ディスクがいっぱいです");
            EXPECT_TRUE(fs::is_empty(full));
        }
        // A copy cut short by the file size limit is no copy either.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{1024, limit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_NE(refusal(cache.parent_path()), "");
        EXPECT_TRUE(fs::is_empty(cache));
        ::setrlimit(RLIMIT_FSIZE, &limit);

        ::setenv("XDG_CACHE_HOME", cache.parent_path().c_str(), 1);
        writeFileSafely(target, "new");
        return true;
    }));
    EXPECT_EQ(readAll(target), "new");
    EXPECT_TRUE(fs::is_empty(cache));
}
#endif

// LibreOffice must read our RTF to the same lines, where it is installed.
TEST(ListToRtf, LibreOfficeReadsTheSameLines) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    const TempFolder folder;
    const fs::path& dir = folder.root();
    const std::string lines = "犬\n表ソ\n{a\\b}\nｶﾞ 半角\n😀 emoji\n한국어\n\n最後";
    std::ofstream(dir / "list.rtf", std::ios::binary)
        << listToRtf({lines + "\n", {}}, "ＭＳ ゴシック", 24);
    const std::string command =
        "cd '" + dir.string() + "' && HOME='" + dir.string() +
        "' timeout 120 soffice --headless --convert-to 'txt:Text (encoded):UTF8' "
        "list.rtf >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    // LibreOffice without Writer (Calc alone, as bench/make-sheets.sh
    // installs it) takes no RTF and writes nothing.
    if (!fs::exists(dir / "list.txt")) GTEST_SKIP() << "LibreOffice Writer is not installed";
    std::string text = readAll(dir / "list.txt");
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    std::string normalized;
    for (const char c : text)
        if (c != '\r') normalized += c;
    while (normalized.ends_with("\n")) normalized.pop_back();
    EXPECT_EQ(normalized, lines);
}

}  // namespace
}  // namespace kivo
