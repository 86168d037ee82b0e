// What the file-system adapter must do on Windows beyond the common tests:
// attributes, sharing modes and file times as Windows keeps them.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "support/TempFolder.h"
#include "support/WinFiles.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;

class FileSystemWinTest : public FolderTest {
protected:
    // A new file stamped by the adapter, its last-write time as Windows
    // reads it.
    SYSTEMTIME stampedLocal(const char* name, std::uint32_t stamp) {
        File file = File::createExclusive(at(name));
        EXPECT_TRUE(file.setLastWriteDosStamp(stamp));
        file.close();
        return lastWriteLocal(at(name));
    }
};

TEST_F(FileSystemWinTest, ReadOnlyAttributeBlocksDeletingAndReplacing) {
    put(at("list.Kivo"), "old");
    put(at("list.tmp"), "new");
    ASSERT_TRUE(SetFileAttributesW(at("list.Kivo").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_FALSE(removeFile(at("list.Kivo")));
    const bool replaced = replaceFile(at("list.tmp"), at("list.Kivo"));
    const DWORD error = GetLastError();
    EXPECT_FALSE(replaced);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(get(at("list.Kivo")), "old");
    EXPECT_EQ(get(at("list.tmp")), "new");

    // Without the attribute both work.
    ASSERT_TRUE(SetFileAttributesW(at("list.Kivo").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(replaceFile(at("list.tmp"), at("list.Kivo")));
    EXPECT_EQ(get(at("list.Kivo")), "new");
    EXPECT_FALSE(fs::exists(at("list.tmp")));
    EXPECT_TRUE(removeFile(at("list.Kivo")));
}

TEST_F(FileSystemWinTest, AFileHeldOpenWithoutSharingIsNeitherReplacedNorDeleted) {
    put(at("list.Kivo"), "old");
    put(at("list.tmp"), "new");
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        SCOPED_TRACE(share);
        const Handle held = openElsewhere(at("list.Kivo"), GENERIC_READ, share);
        ASSERT_TRUE(held);
        EXPECT_FALSE(replaceFile(at("list.tmp"), at("list.Kivo")));
        EXPECT_FALSE(removeFile(at("list.Kivo")));
        EXPECT_EQ(get(at("list.tmp")), "new");
    }
    EXPECT_EQ(get(at("list.Kivo")), "old");
}

TEST_F(FileSystemWinTest, ReplacementKeepsTheTargetsHiddenAttribute) {
    put(at("list.Kivo"), "old");
    ASSERT_TRUE(SetFileAttributesW(at("list.Kivo").c_str(), FILE_ATTRIBUTE_HIDDEN));
    File source = File::openForReading(at("list.Kivo"));
    File replacement = File::createExclusive(at("list.tmp"));
    ASSERT_TRUE(replacement.copyPermissionsFrom(source));
    source.close();
    replacement.close();

    ASSERT_TRUE(replaceFile(at("list.tmp"), at("list.Kivo")));
    const DWORD attributes = GetFileAttributesW(at("list.Kivo").c_str());
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(FileSystemWinTest, ReadingLeavesOthersFreeToReadAndWrite) {
    put(at("list.txt"), "abc");
    const File reading = File::openForReading(at("list.txt"));
    ASSERT_TRUE(reading.isOpen());
    EXPECT_TRUE(openElsewhere(at("list.txt"), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE));
}

TEST_F(FileSystemWinTest, ExclusiveCreationHoldsTheFileAlone) {
    const File mine = File::createExclusive(at("list.tmp"));
    ASSERT_TRUE(mine.isOpen());
    const DWORD everything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const Handle other = openElsewhere(at("list.tmp"), GENERIC_READ, everything);
    const DWORD error = GetLastError();
    EXPECT_FALSE(other);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST_F(FileSystemWinTest, AFileThatCannotBeOpenedSaysWhy) {
    int error = 0;
    EXPECT_FALSE(File::openForReading(at("missing.txt"), &error).isOpen());
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(File::openForReading(at("missing") / "x.txt", &error).isOpen());
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
}

// The stamp is local time: the same wall-clock reading that Explorer shows,
// whatever the zone's offset from UTC.
TEST_F(FileSystemWinTest, StampsAreLocalTime) {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    if (zone.Bias == 0 && zone.DaylightBias == 0) {
        GTEST_SKIP() << "local time is UTC here; ctest runs this in Japan's zone";
    }
    const SYSTEMTIME local = stampedLocal("a.txt", kPiDayStamp);
    EXPECT_EQ(timeText(local), "2021-03-14 15:09:26");

    // The UTC time stored on disk differs from it by the zone's offset.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(at("a.txt").c_str(), GetFileExInfoStandard, &data));
    SYSTEMTIME utc{};
    ASSERT_TRUE(FileTimeToSystemTime(&data.ftLastWriteTime, &utc));
    const int localMinutes = local.wDay * 24 * 60 + local.wHour * 60 + local.wMinute;
    const int utcMinutes = utc.wDay * 24 * 60 + utc.wHour * 60 + utc.wMinute;
    EXPECT_NE(localMinutes, utcMinutes);
}

TEST_F(FileSystemWinTest, StampsTakeTwoSecondStepsRoundedDown) {
    put(at("a.txt"), "x");
    ASSERT_TRUE(setLastWriteLocal(at("a.txt"), localTime(2021, 3, 14, 15, 9, 27, 990)));
    EXPECT_EQ(File::openForReading(at("a.txt")).lastWriteDosStamp(), kPiDayStamp);

    // Set back from the stamp, the time lands on the even second exactly.
    const SYSTEMTIME back = stampedLocal("b.txt", kPiDayStamp);
    EXPECT_EQ(back.wSecond, 26);
    EXPECT_EQ(back.wMilliseconds, 0);
}

TEST_F(FileSystemWinTest, TimesPast2107HaveNoStamp) {
    put(at("late.txt"), "x");
    ASSERT_TRUE(setLastWriteLocal(at("late.txt"), localTime(2108, 1, 2, 0, 0, 0)));
    EXPECT_EQ(File::openForReading(at("late.txt")).lastWriteDosStamp(), kNoDosStamp);
}

}  // namespace
}  // namespace kivo
#endif  // _WIN32
