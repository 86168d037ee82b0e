#pragma once
// Runs a piece of a test in a child process, as an ordinary user: folder
// rights deny root nothing, and what the piece changes in its process (its
// user, limits, signals, environment) ends with it.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>

namespace kivo {

// Whom the child runs as when the tests run as root: nobody.
inline constexpr uid_t kChildUser = 65534;

// Gives a file or folder to the user the child runs as.
inline void giveToChild(const std::filesystem::path& path) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), kChildUser, kChildUser), 0) << path;
    }
}

// True when fn returned true in the child; its failed expectations are
// printed there.
inline bool inChildProcess(const std::function<bool()>& fn) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kChildUser) != 0 || ::setuid(kChildUser) != 0))
            ::_exit(2);
        // Whatever happens, the child ends here and runs no further test.
        bool passed = false;
        try {
            passed = fn() && !::testing::Test::HasFailure();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
        std::fflush(nullptr);
        ::_exit(passed ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace kivo
#endif
