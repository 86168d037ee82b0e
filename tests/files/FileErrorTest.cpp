#include <gtest/gtest.h>

#include <cerrno>

#include "files/FileError.h"

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

}  // namespace
}  // namespace kivo
