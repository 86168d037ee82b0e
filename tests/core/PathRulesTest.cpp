#include <gtest/gtest.h>

#include "core/PathRules.h"

namespace kivo {
namespace {

TEST(FileNamePart, WindowsStyleCutsAtBackslashSlashAndDriveColon) {
    EXPECT_EQ(fileNamePart("D:\\list.txt", PathStyle::Windows), "list.txt");
    EXPECT_EQ(fileNamePart("C:list.txt", PathStyle::Windows), "list.txt");
    EXPECT_EQ(fileNamePart("C:\\語句\\動物.txt", PathStyle::Windows), "動物.txt");
    EXPECT_EQ(fileNamePart("C:/data/list.txt", PathStyle::Windows), "list.txt");
    EXPECT_EQ(fileNamePart("list.txt", PathStyle::Windows), "list.txt");
    EXPECT_EQ(fileNamePart("C:\\dir\\", PathStyle::Windows), "");
}

TEST(FileNamePart, CharactersWhoseShiftJisFormEndsInBackslashStayWhole) {
    // 表 is 0x95 0x5C and ソ is 0x83 0x5C in code page 932; in Unicode they
    // hold no separator at all.
    EXPECT_EQ(fileNamePart("C:\\語句\\表ソ.txt", PathStyle::Windows), "表ソ.txt");
    EXPECT_EQ(fileNamePart("表\\ソ表.Kivo", PathStyle::Windows), "ソ表.Kivo");
    EXPECT_EQ(fileNamePart("/home/ユーザー/表ソ.txt", PathStyle::Posix), "表ソ.txt");
}

TEST(FileNamePart, PosixStyleCutsOnlyAtSlash) {
    EXPECT_EQ(fileNamePart("/home/user/list.txt", PathStyle::Posix), "list.txt");
    EXPECT_EQ(fileNamePart("D:\\list.txt", PathStyle::Posix), "D:\\list.txt");
    EXPECT_EQ(fileNamePart("C:list.txt", PathStyle::Posix), "C:list.txt");
    EXPECT_EQ(fileNamePart("list.txt", PathStyle::Posix), "list.txt");
}

TEST(ExtensionPart, IsTheLastDotOfTheFileNameOn) {
    EXPECT_EQ(extensionPart("C:\\a.b\\animals.Kivo", PathStyle::Windows), ".Kivo");
    EXPECT_EQ(extensionPart("C:\\a.b\\animals", PathStyle::Windows), "");
    EXPECT_EQ(extensionPart("/a.b/animals", PathStyle::Posix), "");
    EXPECT_EQ(extensionPart("/a/list.tar.txt", PathStyle::Posix), ".txt");
    EXPECT_EQ(extensionPart("/a/list.", PathStyle::Posix), ".");
    EXPECT_EQ(extensionPart("C:動物.TXT", PathStyle::Windows), ".TXT");
    EXPECT_EQ(extensionPart("C:動物.TXT", PathStyle::Posix), ".TXT");
}

TEST(PathRules, TheDefaultStyleIsThePlatformsOwn) {
#ifdef _WIN32
    EXPECT_EQ(kNativePathStyle, PathStyle::Windows);
    EXPECT_EQ(fileNamePart("C:\\語句\\表ソ.Kivo"), "表ソ.Kivo");
    EXPECT_EQ(extensionPart("C:list.txt"), ".txt");
#else
    EXPECT_EQ(kNativePathStyle, PathStyle::Posix);
    EXPECT_EQ(fileNamePart("/home/a\\表ソ.Kivo"), "a\\表ソ.Kivo");
    EXPECT_EQ(extensionPart("/home/a.b\\list"), ".b\\list");
#endif
}

}  // namespace
}  // namespace kivo
