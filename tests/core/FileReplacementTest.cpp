#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "core/FileReplacement.h"

#ifndef _WIN32
#include "support/ChildProcess.h"
#endif

namespace kivo {
namespace {

namespace fs = std::filesystem;

class FileReplacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kivo-replacement-test-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    fs::path at(const std::string& name) const { return dir_ / name; }

    static void put(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string get(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::set<std::string> namesIn(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
    static bool save(FileReplacement& replacement, const std::string& text) {
        return replacement.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }

    fs::path dir_;
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
    for (const auto& entry : fs::directory_iterator(dir_))
        if (!entry.is_symlink()) fs::last_write_time(entry, stale);
    put(at(".kivo-00c0ffee.tmp"), "another Kivo's, saving now");
    kept.insert(".kivo-00c0ffee.tmp");

    FileReplacement replacement(at("list.txt"));
    ASSERT_TRUE(save(replacement, "new"));
    ASSERT_TRUE(replacement.commit());
    kept.insert("list.txt");
    EXPECT_EQ(namesIn(dir_), kept);
    for (const auto& name : users) EXPECT_EQ(get(at(name)), "mine");
}

}  // namespace
}  // namespace kivo
