#pragma once
// The file commands over the double of the window, with a folder of the
// test's own for the files they read and write.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "FakeWindow.h"
#include "commands/FileCommands.h"
#include "core/PathRules.h"
#include "support/TempFolder.h"

namespace kivo {

class FileCommandsFixture : public ::testing::Test {
protected:
    FakeWindow window;
    TopicCommands topics{window, window, window, window, window};
    FileCommands commands{window, window, window, window, topics};
    TempFolder folder;

    // A file in the folder, as the program names it (UTF-8).
    std::string at(std::string_view name) const { return folder.utf8(name); }
    // Writes a file in the folder and names it.
    std::string write(std::string_view name, const std::string& bytes) const {
        std::ofstream(folder.path(name), std::ios::binary) << bytes;
        return at(name);
    }
    static std::string read(const std::string& path) {
        std::ifstream in(pathFromUtf8(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The text of the error a command ended with; empty when it ended well.
    template <typename Command>
    static std::string errorOf(Command&& command) {
        try {
            command();
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }
    // A document in tests/data.
    static std::string testData(const char* name) {
        std::ifstream in(std::string(KIVO_TEST_DATA_DIR) + "/" + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

}  // namespace kivo
