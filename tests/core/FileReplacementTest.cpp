#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/FileReplacement.h"
#include "core/KeptCopies.h"
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

// What the cache folder keeps of copies that saves in place left: one still
// to offer until it is answered, whatever its age; a declined one for its
// time, counted from the answer; nothing of a file that is gone, nor a copy
// no record names once its time is up; and nothing a running save holds.
// One put back goes.
TEST_F(FileReplacementTest, KeptCopiesStayTheirTimeAndNoLonger) {
    const fs::path cache = at("cache");
    fs::create_directory(cache);
    fs::permissions(cache, fs::perms::owner_all);
    std::set<std::string> kept;
    int made = 0;
    File running;
    // The copy and record a killed save leaves: the record no longer held.
    const auto leave = [&](const std::string& name, File* holder = nullptr) {
        put(at(name), "torn");
        const fs::path copy = cache / keptCopyName(at(name), "0000000" + std::to_string(++made));
        put(copy, "old");
        fs::path record;
        int error = 0;
        File held = recordKeptCopy(copy, at(name), 3, record, error);
        EXPECT_TRUE(held.isOpen()) << error;
        if (holder) *holder = std::move(held);
        return copy;
    };
    const auto age = [](const fs::path& path, int days) {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::days(days));
    };
    const auto decline = [&](const std::string& name) {
        const auto copy = keptCopyToOffer(at(name), cache);
        ASSERT_TRUE(copy);
        EXPECT_TRUE(declineKeptCopy(*copy));
        EXPECT_FALSE(keptCopyToOffer(at(name), cache));
    };

    const fs::path longAgo = leave("declined long ago.txt");
    decline("declined long ago.txt");
    age(longAgo, 8);

    const fs::path declined = leave("declined today.txt");
    age(declined, 30);
    decline("declined today.txt");
    kept.insert({declined.filename().string(),
                 fs::path(declined).replace_extension(".declined").filename().string()});

    const fs::path unanswered = leave("unanswered.txt");
    age(unanswered, 30);
    kept.insert({unanswered.filename().string(),
                 fs::path(unanswered).replace_extension(".saving").filename().string()});

    leave("removed since.txt");
    fs::remove(at("removed since.txt"));

    const fs::path orphan = cache / keptCopyName(at("orphan.txt"), "0000000f");
    put(orphan, "old");
    age(orphan, 8);

    const fs::path saving = leave("saving now.txt", &running);
    age(saving, 30);
    kept.insert({saving.filename().string(),
                 fs::path(saving).replace_extension(".saving").filename().string()});

    const std::vector<KeptCopy> offered = keptCopiesToOffer(cache);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].file, at("unanswered.txt"));
    EXPECT_EQ(offered[0].copy, unanswered);
    EXPECT_EQ(namesIn(cache), kept);

    // Put back where the folder takes a new file: by rename, and the copy
    // and its record go.
    {
        FileReplacement restore(offered[0]);
        EXPECT_TRUE(restore.isOpen());
        EXPECT_TRUE(restore.writeKeptCopy());
        EXPECT_TRUE(restore.commit());
    }
    EXPECT_EQ(get(at("unanswered.txt")), "old");
    kept.erase(unanswered.filename().string());
    kept.erase(fs::path(unanswered).replace_extension(".saving").filename().string());
    EXPECT_EQ(namesIn(cache), kept);
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
        // The copy, named after the file and the time, and the record
        // naming the file beside it.
        const std::set<std::string> names = namesIn(cache());
        EXPECT_EQ(names.size(), 2u);
        const std::string copy = *names.begin();
        EXPECT_TRUE(
            std::regex_match(copy, std::regex(R"(list\.txt\.\d{8}-\d{6}\.[0-9a-f]{8}\.bak)")))
            << copy;
        EXPECT_EQ(get(cache() / copy), "old list\n");
        EXPECT_TRUE(names.contains(fs::path(copy).replace_extension(".saving").string()));
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

// Killed between the write in place and its end, a save leaves the file
// torn; its old content is offered back and put back whole, even when the
// restore is killed in turn.
TEST_F(InPlaceTest, ACopyLeftByAKillIsOfferedAndPutBack) {
    const std::string old(4000, 'o');
    const std::string written(4000, 'n');
    put(target(), old);
    EXPECT_FALSE(inChildProcess([&] {
        FileReplacement replacement(target(), FileReplacement::WhenFolderIsClosed::WriteInPlace,
                                    cache());
        save(replacement, written);
        ::kill(::getpid(), SIGKILL);
        return true;
    }));
    ASSERT_EQ(get(target()), written);

    EXPECT_TRUE(inChildProcess([&] {
        const std::vector<KeptCopy> offered = keptCopiesToOffer(cache());
        EXPECT_EQ(offered.size(), 1u);
        const auto copy = keptCopyToOffer(target(), cache());
        if (!copy) return false;
        EXPECT_EQ(copy->file, target());
        EXPECT_EQ(get(copy->copy), old);
        EXPECT_FALSE(keptCopyToOffer(at("closed") / "other.txt", cache()));
        EXPECT_EQ(keptCopyQuestion(*copy),
                  "ファイル " + utf8Of(target()) +
                      " の保存が途中で終わっています。\r\n保存前の内容に戻しますか？\r\n\r\n"
                      "戻さない場合も、保存前の内容は " +
                      utf8Of(copy->copy) + " に 7 日間残ります。");
        return true;
    }));

    // Files end at 1 KiB here, and going past the end kills.
    EXPECT_FALSE(inChildProcess([&] {
        const auto copy = keptCopyToOffer(target(), cache());
        if (!copy) return true;
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit noCore{0, 0};
        const rlimit small{1024, 1024};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &small);
        FileReplacement restore(*copy);
        restore.writeKeptCopy();
        return true;
    }));
    ASSERT_EQ(get(target()), old.substr(0, 1024) + written.substr(1024));

    EXPECT_TRUE(inChildProcess([&] {
        const auto copy = keptCopyToOffer(target(), cache());
        if (!copy) return false;
        FileReplacement restore(*copy);
        EXPECT_TRUE(restore.isOpen());
        EXPECT_TRUE(restore.writeKeptCopy());
        EXPECT_TRUE(restore.commit());
        EXPECT_TRUE(keptCopiesToOffer(cache()).empty());
        return true;
    }));
    EXPECT_EQ(get(target()), old);
    EXPECT_TRUE(namesIn(cache()).empty());
    EXPECT_EQ(namesIn(at("closed")), std::set<std::string>{"list.txt"});
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
            EXPECT_EQ(namesIn(own).size(), 2u);
            EXPECT_TRUE(replacement.commit());
        }
        return true;
    }));
    EXPECT_EQ(get(target()), "new");
}
#endif

}  // namespace
}  // namespace kivo
