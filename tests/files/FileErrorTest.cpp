#include <gtest/gtest.h>

#include <cerrno>

#include "files/FileError.h"

#ifdef _WIN32
#include <windows.h>

#include <fstream>

#include "core/FileSystem.h"
#include "support/TempFolder.h"
#include "support/WinFiles.h"
#endif

namespace kivo {
namespace {

TEST(FileError, EachKnownCodeHasItsJapaneseText) {
    EXPECT_EQ(fileErrorText(kFileNotFound), "ファイルが見つかりません");
    EXPECT_EQ(fileErrorText(kPathNotFound), "不正なファイル名です");
    EXPECT_EQ(fileErrorText(kTooManyOpenFiles), "オープンしたファイルが多すぎます");
    EXPECT_EQ(fileErrorText(kAccessDenied), "ファイルへのアクセスが拒否されました");
    EXPECT_EQ(fileErrorText(kDiskFull), "ディスクがいっぱいです");
    EXPECT_EQ(fileErrorText(kReadPastEnd), "ファイルの末尾以降を読み込みました");
    EXPECT_EQ(fileErrorText(kNotNumeric), "入力値が数値ではありません");
    EXPECT_EQ(fileErrorText(32), "I/O エラー (32)");
    EXPECT_STREQ(FileError(kAccessDenied).what(), "ファイルへのアクセスが拒否されました");
}

TEST(FileError, PosixErrorsMapOntoTheCodes) {
    EXPECT_EQ(fileErrorCodeFromErrno(ENOENT), kFileNotFound);
    EXPECT_EQ(fileErrorCodeFromErrno(ENOENT, true), kPathNotFound);
    EXPECT_EQ(fileErrorCodeFromErrno(EMFILE), kTooManyOpenFiles);
    EXPECT_EQ(fileErrorCodeFromErrno(EACCES), kAccessDenied);
    EXPECT_EQ(fileErrorCodeFromErrno(EROFS), kAccessDenied);
    EXPECT_EQ(fileErrorCodeFromErrno(ENOSPC), kDiskFull);
    EXPECT_EQ(fileErrorCodeFromErrno(ENAMETOOLONG), kPathNotFound);
    // Causes without a text of their own never show under one that has.
    for (const int err : {EIO, EINTR, ESRCH, ENOTEMPTY}) {
        EXPECT_EQ(fileErrorText(fileErrorCodeFromErrno(err)),
                  "I/O エラー (" + std::to_string(-err) + ")");
    }
}

TEST(FileError, WindowsErrorsMapOntoTheCodes) {
    // A list held open by another program (Excel) is access denied, as
    // are write-protected media and network shares that refuse us.
    for (const int error : {5, 19, 32, 33, 65})
        EXPECT_EQ(fileErrorCodeFromWindows(error), kAccessDenied) << error;
    EXPECT_EQ(fileErrorCodeFromWindows(2), kFileNotFound);
    for (const int error : {3, 123, 161, 206, 267})
        EXPECT_EQ(fileErrorCodeFromWindows(error), kPathNotFound) << error;
    EXPECT_EQ(fileErrorCodeFromWindows(4), kTooManyOpenFiles);
    EXPECT_EQ(fileErrorCodeFromWindows(39), kDiskFull);
    EXPECT_EQ(fileErrorCodeFromWindows(112), kDiskFull);
    EXPECT_EQ(fileErrorCodeFromWindows(38), kReadPastEnd);
    EXPECT_EQ(fileErrorText(fileErrorCodeFromWindows(1117)), "I/O エラー (1117)");
}

#ifdef _WIN32
TEST(FileError, AListAnotherProgramHoldsOpenIsAccessDenied) {
    const TempFolder folder;
    const std::filesystem::path path = folder.path("一覧.txt");
    std::ofstream(path) << "犬";
    // As Excel holds a list it has open: shared with nobody.
    const Handle held = openElsewhere(path, GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_TRUE(held);
    int error = 0;
    EXPECT_FALSE(File::openForReading(path, &error).isOpen());
    EXPECT_STREQ(FileError(fileErrorCodeFromSystem(error)).what(),
                 "ファイルへのアクセスが拒否されました");
}
#endif

}  // namespace
}  // namespace kivo
