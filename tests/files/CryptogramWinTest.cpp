// The container routines against what Windows adds: the read-only
// attribute, files other programs hold open, and last-write times kept in
// UTC but stamped in local time.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "files/Cryptogram.h"
#include "support/Containers.h"
#include "support/TempFolder.h"
#include "support/WinFiles.h"

namespace kivo {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class CryptogramWinTest : public ::testing::Test {
protected:
    TempFolder folder_;
    fs::path at(const std::string& name) const { return folder_.path(name); }

    static void put(const fs::path& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes get(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_.root())) {
            found.insert(entry.path().filename().string());
        }
        return found;
    }

    // A container of `plain`, made here and checked to be one.
    Bytes containerOf(const fs::path& path, const Bytes& plain) {
        put(path, plain);
        EXPECT_TRUE(EncryptFileInPlace(path, kContainerKey));
        return get(path);
    }
};

TEST_F(CryptogramWinTest, TheReadOnlyAttributeKeepsAFileAsItIs) {
    const Bytes plain(3000, 'p');
    put(at("plain.Kivo"), plain);
    const Bytes container = containerOf(at("list.Kivo"), plain);
    for (const char* name : {"plain.Kivo", "list.Kivo"}) {
        ASSERT_TRUE(SetFileAttributesW(at(name).c_str(), FILE_ATTRIBUTE_READONLY));
    }

    EXPECT_FALSE(EncryptFileInPlace(at("plain.Kivo"), kContainerKey));
    std::uint8_t notContainer = 0;
    EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kNotProcessed);
    EXPECT_EQ(notContainer, 1);

    EXPECT_EQ(get(at("plain.Kivo")), plain);
    EXPECT_EQ(get(at("list.Kivo")), container);
    EXPECT_EQ(names(), (std::set<std::string>{"list.Kivo", "plain.Kivo"}));
    EXPECT_NE(GetFileAttributesW(at("list.Kivo").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(CryptogramWinTest, AFileHeldOpenWithoutSharingIsNotReplaced) {
    const Bytes plain(3000, 'p');
    put(at("plain.Kivo"), plain);
    const Bytes container = containerOf(at("list.Kivo"), plain);

    // Held unshared, the file cannot even be read; shared for reading only,
    // it is read but cannot be replaced, since replacing deletes it.
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
        SCOPED_TRACE(share);
        const Handle heldPlain = openElsewhere(at("plain.Kivo"), GENERIC_READ, share);
        const Handle heldContainer = openElsewhere(at("list.Kivo"), GENERIC_READ, share);
        ASSERT_TRUE(heldPlain && heldContainer);

        EXPECT_FALSE(EncryptFileInPlace(at("plain.Kivo"), kContainerKey));
        std::uint8_t notContainer = 0;
        EXPECT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kNotProcessed);
        EXPECT_EQ(notContainer, 1);
        EXPECT_EQ(names(), (std::set<std::string>{"list.Kivo", "plain.Kivo"}));
    }
    EXPECT_EQ(get(at("plain.Kivo")), plain);
    EXPECT_EQ(get(at("list.Kivo")), container);
}

TEST_F(CryptogramWinTest, TheRestoredLastWriteTimeIsLocalInTwoSecondSteps) {
    put(at("list.Kivo"), Bytes(100, 'p'));
    // 15:09:27.990 local time: the stamp keeps 15:09:26.
    ASSERT_TRUE(setLastWriteLocal(at("list.Kivo"), localTime(2021, 3, 14, 15, 9, 27, 990)));

    ASSERT_TRUE(EncryptFileInPlace(at("list.Kivo"), kContainerKey));
    EXPECT_EQ(ReadContainerHeader(headerOf(get(at("list.Kivo")))).dateStamp, kPiDayStamp);
    std::uint8_t notContainer = 1;
    ASSERT_EQ(DecryptFileInPlace(at("list.Kivo"), kContainerKey, notContainer), kDecrypted);

    const SYSTEMTIME restored = lastWriteLocal(at("list.Kivo"));
    EXPECT_EQ(timeText(restored), "2021-03-14 15:09:26");
    EXPECT_EQ(restored.wMilliseconds, 0);
}

}  // namespace
}  // namespace kivo
#endif  // _WIN32
