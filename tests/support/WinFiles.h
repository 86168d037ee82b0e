#pragma once
// What the Windows tests do to a file from outside the program, as Windows
// Explorer, an editor or Excel would: hold it open with a sharing mode of
// their own, and set or read its last-write time in local time.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace kivo {

struct HandleCloser {
    void operator()(void* handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// A handle of another program; empty where Windows refuses it, with
// GetLastError saying why.
inline Handle openElsewhere(const std::filesystem::path& path, DWORD access, DWORD share) {
    HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return Handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// 2021-03-14 15:09:26 as an MS-DOS date and time.
inline constexpr std::uint32_t kPiDayStamp = 0x526E792D;

inline SYSTEMTIME localTime(int year, int month, int day, int hour, int minute, int second,
                            int millisecond = 0) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(millisecond);
    return t;
}

// Sets the file's last-write time to a local time through a handle of its
// own, so that what the program later reads comes from Windows alone.
inline bool setLastWriteLocal(const std::filesystem::path& path, const SYSTEMTIME& local) {
    SYSTEMTIME utc{};
    FILETIME written{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &written)) {
        return false;
    }
    const Handle h = openElsewhere(path, FILE_WRITE_ATTRIBUTES, 0);
    return h && SetFileTime(h.get(), nullptr, nullptr, &written);
}

// The file's last-write time, read without the program's adapter, in local
// time.
inline SYSTEMTIME lastWriteLocal(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_TRUE(FileTimeToSystemTime(&data.ftLastWriteTime, &utc));
    EXPECT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
    return local;
}

// A time to the second as one text, "2021-03-14 15:09:26": compared in one
// piece and shown whole when it differs.
inline std::string timeText(const SYSTEMTIME& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04hu-%02hu-%02hu %02hu:%02hu:%02hu", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

}  // namespace kivo
