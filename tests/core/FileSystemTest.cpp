#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "support/TempFolder.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kivo {
namespace {

namespace fs = std::filesystem;

// 2021-03-14 15:09:26: date (41 << 9 | 3 << 5 | 14), time (15 << 11 | 9 << 5 | 13).
constexpr std::uint32_t kPiDayStamp = 0x526E792D;

TEST(DosStamp, DecodesTheFatFields) {
    const auto t = decodeDosStamp(kPiDayStamp);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->year, 2021);
    EXPECT_EQ(t->month, 3);
    EXPECT_EQ(t->day, 14);
    EXPECT_EQ(t->hour, 15);
    EXPECT_EQ(t->minute, 9);
    EXPECT_EQ(t->second, 26);
}

TEST(DosStamp, EncodesAtTwoSecondResolution) {
    EXPECT_EQ(encodeDosStamp({2021, 3, 14, 15, 9, 26}), kPiDayStamp);
    EXPECT_EQ(encodeDosStamp({2021, 3, 14, 15, 9, 27}), kPiDayStamp);
    EXPECT_EQ(encodeDosStamp({1980, 1, 1, 0, 0, 0}), 0x00210000u);
    EXPECT_EQ(encodeDosStamp({2107, 12, 31, 23, 59, 59}), 0xFF9FBF7Du);
}

TEST(DosStamp, YearsOutsideTheFormatHaveNoStamp) {
    EXPECT_EQ(encodeDosStamp({1979, 12, 31, 23, 59, 58}), kNoDosStamp);
    EXPECT_EQ(encodeDosStamp({2108, 1, 1, 0, 0, 0}), kNoDosStamp);
}

TEST(DosStamp, StampsNamingNoRealTimeAreRejected) {
    EXPECT_FALSE(decodeDosStamp(0));                                           // month and day 0
    EXPECT_FALSE(decodeDosStamp(kNoDosStamp));                                 // month 15, 31:63:62
    EXPECT_FALSE(decodeDosStamp((41u << 9 | 3 << 5 | 14) << 16 | 24u << 11));  // hour 24
    EXPECT_FALSE(decodeDosStamp((41u << 9 | 2 << 5 | 30) << 16));              // 30 February 2021
    EXPECT_FALSE(decodeDosStamp((41u << 9 | 3 << 5 | 14) << 16 | 60u << 5));   // minute 60
    EXPECT_FALSE(decodeDosStamp((41u << 9 | 3 << 5 | 14) << 16 | 30u));        // second 60
    EXPECT_FALSE(decodeDosStamp((120u << 9 | 2 << 5 | 29) << 16));  // 2100 is no leap year
    EXPECT_TRUE(decodeDosStamp((20u << 9 | 2 << 5 | 29) << 16));    // 2000 is one
}

TEST(CacheFolder, FollowsTheXdgBaseDirectoryRules) {
    EXPECT_EQ(xdgCacheFolder("/var/cache/u", "/home/u"), fs::path("/var/cache/u/kivo"));
    EXPECT_EQ(xdgCacheFolder(nullptr, "/home/u"), fs::path("/home/u/.cache/kivo"));
    // Empty or relative, it is no folder to write in.
    EXPECT_EQ(xdgCacheFolder("", "/home/u"), fs::path("/home/u/.cache/kivo"));
    EXPECT_EQ(xdgCacheFolder("cache", "/home/u"), fs::path("/home/u/.cache/kivo"));
    EXPECT_EQ(xdgCacheFolder(nullptr, nullptr), fs::path());
}

class FileSystemTest : public FolderTest {
protected:
    static std::vector<std::uint8_t> bytes(const std::string& text) {
        return {text.begin(), text.end()};
    }
};

TEST_F(FileSystemTest, ExclusiveCreationNeverTakesAnExistingName) {
    put(at("mine.tmp"), "the user's own file");
    EXPECT_FALSE(File::createExclusive(at("mine.tmp")).isOpen());
    EXPECT_EQ(get(at("mine.tmp")), "the user's own file");
    fs::create_directory(at("folder"));
    EXPECT_FALSE(File::createExclusive(at("folder")).isOpen());
    EXPECT_FALSE(File::createExclusive(at("missing") / "x.tmp").isOpen());

    File fresh = File::createExclusive(at("new.tmp"));
    ASSERT_TRUE(fresh.isOpen());
    EXPECT_TRUE(fresh.write(bytes("abc")));
    EXPECT_TRUE(fresh.flush());
    EXPECT_TRUE(fresh.close());
    EXPECT_EQ(get(at("new.tmp")), "abc");
}

TEST_F(FileSystemTest, OnlyRegularFilesOpenForReading) {
    EXPECT_FALSE(File::openForReading(at("missing")).isOpen());
    fs::create_directory(at("folder"));
    EXPECT_FALSE(File::openForReading(at("folder")).isOpen());
#ifndef _WIN32
    // Would block for ever if opened like a file.
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(File::openForReading(at("pipe")).isOpen());
#endif
}

TEST_F(FileSystemTest, ReadFillsTheBufferAndComesUpShortOnlyAtTheEnd) {
    put(at("a.txt"), "0123456789");
    File file = File::openForReading(at("a.txt"));
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), 10);
    std::vector<std::uint8_t> buffer(4);
    EXPECT_EQ(file.read(buffer), 4u);
    EXPECT_EQ(file.read(buffer), 4u);
    EXPECT_EQ(file.read(buffer), 2u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 2), "89");
    EXPECT_EQ(file.read(buffer), 0u);
}

TEST_F(FileSystemTest, LastWriteTimeRoundTripsThroughAStamp) {
    File file = File::createExclusive(at("a.txt"));
    ASSERT_TRUE(file.setLastWriteDosStamp(kPiDayStamp));
    EXPECT_EQ(file.lastWriteDosStamp(), kPiDayStamp);
    file.close();

    // Local time, as an independent reading of the file shows.
    const auto written = fs::last_write_time(at("a.txt"));
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    EXPECT_EQ(local.tm_year + 1900, 2021);
    EXPECT_EQ(local.tm_mon + 1, 3);
    EXPECT_EQ(local.tm_mday, 14);
    EXPECT_EQ(local.tm_hour, 15);
    EXPECT_EQ(local.tm_min, 9);
    EXPECT_EQ(local.tm_sec, 26);
    EXPECT_EQ(File::openForReading(at("a.txt")).lastWriteDosStamp(), kPiDayStamp);
}

TEST_F(FileSystemTest, ZeroAndInvalidStampsLeaveTheTimeAlone) {
    File file = File::createExclusive(at("a.txt"));
    ASSERT_TRUE(file.setLastWriteDosStamp(kPiDayStamp));
    EXPECT_FALSE(file.setLastWriteDosStamp(0));
    EXPECT_FALSE(file.setLastWriteDosStamp(kNoDosStamp));
    EXPECT_EQ(file.lastWriteDosStamp(), kPiDayStamp);
}

TEST_F(FileSystemTest, TimesBefore1980HaveNoStamp) {
    put(at("old.txt"), "x");
    fs::last_write_time(at("old.txt"),
                        fs::last_write_time(at("old.txt")) - std::chrono::hours(24 * 366 * 60));
    EXPECT_EQ(File::openForReading(at("old.txt")).lastWriteDosStamp(), kNoDosStamp);
}

TEST_F(FileSystemTest, ReplacementTakesTheTargetsPlaceAndRights) {
    put(at("list.Kivo"), "old");
    fs::permissions(at("list.Kivo"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    File source = File::openForReading(at("list.Kivo"));
    File replacement = File::createExclusive(at("list.tmp"));
    ASSERT_TRUE(replacement.write(bytes("new")));
    ASSERT_TRUE(replacement.copyPermissionsFrom(source));
    source.close();
    replacement.close();

    ASSERT_TRUE(replaceFile(at("list.tmp"), at("list.Kivo")));
    EXPECT_EQ(get(at("list.Kivo")), "new");
    EXPECT_FALSE(fs::exists(at("list.tmp")));
#ifndef _WIN32
    EXPECT_EQ(fs::status(at("list.Kivo")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
}

TEST_F(FileSystemTest, ReadOnlyTargetIsNotReplaced) {
    put(at("list.Kivo"), "old");
    put(at("list.tmp"), "new");
    fs::permissions(at("list.Kivo"), fs::perms::owner_read);
    EXPECT_FALSE(replaceFile(at("list.tmp"), at("list.Kivo")));
    EXPECT_EQ(get(at("list.Kivo")), "old");
    EXPECT_EQ(get(at("list.tmp")), "new");
    fs::permissions(at("list.Kivo"), fs::perms::owner_all);
}

TEST_F(FileSystemTest, RemoveReportsWhetherTheFileWent) {
    put(at("a.tmp"), "x");
    EXPECT_TRUE(removeFile(at("a.tmp")));
    EXPECT_FALSE(fs::exists(at("a.tmp")));
    EXPECT_FALSE(removeFile(at("a.tmp")));
}

}  // namespace
}  // namespace kivo
