#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/FileReplacement.h"
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

class FileReplacementTest : public FolderTest {
protected:
    static std::set<std::string> namesIn(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
    static bool save(FileReplacement& replacement, const std::string& text) {
        return replacement.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
};

TEST_F(FileReplacementTest, OnlyOurOwnStaleTemporaryFilesAreSwept) {
    const std::set<std::string> users = {"list.txt.kivo-save-1", "keep.kivo-save-x",
                                         ".kivo-C0FFEE00.tmp", ".kivo-0badf00d.tmp.txt"};
    for (const auto& name : users) put(at(name), "mine");
    put(at(".kivo-0badf00d.tmp"), "left by a crash");
    std::set<std::string> kept = users;
#ifndef _WIN32
    // A link of our name leads to the user's file, and another user's
    // leftover is not ours to remove.
    fs::create_symlink("keep.kivo-save-x", at(".kivo-deadbeef.tmp"));
    kept.insert(".kivo-deadbeef.tmp");
    if (::geteuid() == 0) {
        put(at(".kivo-0000abcd.tmp"), "someone else's");
        giveToChild(at(".kivo-0000abcd.tmp"));
        kept.insert(".kivo-0000abcd.tmp");
    }
#endif
    const auto stale = fs::file_time_type::clock::now() - std::chrono::hours(2);
    for (const auto& entry : fs::directory_iterator(folder_.root()))
        if (!entry.is_symlink()) fs::last_write_time(entry, stale);
    put(at(".kivo-00c0ffee.tmp"), "another Kivo's, saving now");
    kept.insert(".kivo-00c0ffee.tmp");

    FileReplacement replacement(at("list.txt"));
    ASSERT_TRUE(save(replacement, "new"));
    ASSERT_TRUE(replacement.commit());
    kept.insert("list.txt");
    EXPECT_EQ(namesIn(folder_.root()), kept);
    for (const auto& name : users) EXPECT_EQ(get(at(name)), "mine");
}

#ifndef _WIN32
// A list in a folder that takes no new file, and a cache folder of its own,
// both the child's.
class InPlaceTest : public FileReplacementTest {
protected:
    void SetUp() override {
        FileReplacementTest::SetUp();
        fs::create_directories(at("closed"));
        put(target(), "old list\n");
        giveToChild(target());
        fs::permissions(at("closed"), fs::perms::owner_read | fs::perms::owner_exec |
                                          fs::perms::group_read | fs::perms::group_exec |
                                          fs::perms::others_read | fs::perms::others_exec);
        fs::create_directory(at("home"));
        giveToChild(at("home"));
    }

    fs::path target() const { return at("closed") / "list.txt"; }
    fs::path cache() const { return at("home") / ".cache" / "kivo"; }
};

TEST_F(InPlaceTest, TheOldContentWaitsInTheCacheUntilTheNewIsCommitted) {
    EXPECT_TRUE(inChildProcess([&] {
        FileReplacement replacement(target(), FileReplacement::WhenFolderIsClosed::WriteInPlace,
                                    cache());
        EXPECT_TRUE(replacement.isOpen());
        EXPECT_TRUE(save(replacement, "new"));
        // Made for the user alone, as the cache may hold any list.
        EXPECT_EQ(fs::status(cache()).permissions(), fs::perms::owner_all);
        EXPECT_EQ(fs::status(cache().parent_path()).permissions(), fs::perms::owner_all);
        const std::set<std::string> copies = namesIn(cache());
        EXPECT_EQ(copies.size(), 1u);
        for (const auto& name : copies) {
            EXPECT_TRUE(
                std::regex_match(name, std::regex(R"(list\.txt\.\d{8}-\d{6}\.[0-9a-f]{8}\.bak)")))
                << name;
            EXPECT_EQ(get(cache() / name), "old list\n");
        }
        EXPECT_TRUE(replacement.commit());
        EXPECT_TRUE(namesIn(cache()).empty());
        return true;
    }));
    EXPECT_EQ(get(target()), "new");
    EXPECT_EQ(namesIn(at("closed")), std::set<std::string>{"list.txt"});
}

TEST_F(InPlaceTest, AFailedWritePutsTheOldContentBack) {
    const std::string old(1000, 'o');
    put(target(), old);
    EXPECT_TRUE(inChildProcess([&] {
        // Files end at 1 KiB here: the new content is cut off halfway,
        // over the old one's head.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        FileReplacement replacement(target(), FileReplacement::WhenFolderIsClosed::WriteInPlace,
                                    cache());
        EXPECT_TRUE(replacement.isOpen());
        EXPECT_FALSE(save(replacement, std::string(4096, 'n')));
        EXPECT_EQ(replacement.systemError(), EFBIG);
        EXPECT_FALSE(replacement.commit());
        return true;
    }));
    EXPECT_EQ(get(target()), old);
    EXPECT_TRUE(namesIn(cache()).empty());
}

// A cache folder others may write in is passed over: whoever owns it could
// read the copy of a private list, or swap it. A folder of the user's own
// beside it takes the copies, the same one every time.
TEST_F(InPlaceTest, ACacheFolderOthersMayWriteInIsPassedOver) {
    fs::create_directories(cache());
    giveToChild(cache().parent_path());
    // Root's when we are root: another user's.
    fs::permissions(cache(), fs::perms::all);
    EXPECT_TRUE(inChildProcess([&] {
        for (int round = 0; round < 2; ++round) {
            FileReplacement replacement(target(), FileReplacement::WhenFolderIsClosed::WriteInPlace,
                                        cache());
            EXPECT_TRUE(save(replacement, "new"));
            EXPECT_TRUE(namesIn(cache()).empty());
            const std::set<std::string> folders = namesIn(cache().parent_path());
            EXPECT_EQ(folders.size(), 2u);
            const fs::path own = cache().parent_path() / *folders.rbegin();
            EXPECT_TRUE(std::regex_match(own.filename().string(), std::regex(R"(kivo\.\w{6})")));
            EXPECT_EQ(fs::symlink_status(own).permissions(), fs::perms::owner_all);
            EXPECT_EQ(namesIn(own).size(), 1u);
            EXPECT_TRUE(replacement.commit());
        }
        return true;
    }));
    EXPECT_EQ(get(target()), "new");
}
#endif

}  // namespace
}  // namespace kivo
