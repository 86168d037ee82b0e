#pragma once
// A folder of one test's own under the system's temporary folder, made when
// the test starts and gone when it ends, whatever the test left in it. Its
// name holds Japanese characters, as our users' folders do, so every test
// that touches files also crosses a path that is not ASCII.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "core/PathRules.h"

namespace kivo {

class TempFolder {
public:
    TempFolder()
        : root_(std::filesystem::temp_directory_path() /
                pathFromUtf8("kivo-" + std::to_string(std::random_device{}()) + "-語句")) {
        std::filesystem::create_directories(root_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        // Tests take rights away (read-only files, closed folders); they come
        // back first, since Windows deletes no read-only file and a closed
        // folder gives up none of its files.
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (auto it = fs::recursive_directory_iterator(root_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored)) {
            // A link's rights are its target's, which may lie outside.
            if (!it->is_symlink(ignored))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(root_, ignored);
    }

    const std::filesystem::path& root() const { return root_; }
    // A name (UTF-8, may hold folders) inside the folder.
    std::filesystem::path path(std::string_view name) const { return root_ / pathFromUtf8(name); }
    // The same as the program's own UTF-8 text.
    std::string utf8(std::string_view name) const { return utf8Of(path(name)); }

private:
    std::filesystem::path root_;
};

// A test with a folder of its own and whole files written and read in it.
class FolderTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::filesystem::path at(const std::string& name) const { return folder_.path(name); }

    static void put(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string get(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

}  // namespace kivo
