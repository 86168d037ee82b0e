#include "core/FileSystem.h"

// The MS-DOS date and time format and the cache folder rule, shared by
// every platform.
namespace kivo {
namespace {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValid(const DosDateTime& t) {
    return t.year >= 1980 && t.year <= 2107 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
           t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

}  // namespace

std::filesystem::path xdgCacheFolder(const char* xdgCacheHome, const char* home) {
    // The base directory rules ignore a relative path: it would land
    // wherever the program happened to be started.
    if (xdgCacheHome != nullptr && xdgCacheHome[0] == '/')
        return std::filesystem::path(xdgCacheHome) / "kivo";
    if (home == nullptr || *home == '\0') return {};
    return std::filesystem::path(home) / ".cache" / "kivo";
}

std::optional<DosDateTime> decodeDosStamp(std::uint32_t stamp) {
    const std::uint32_t date = stamp >> 16;
    const std::uint32_t time = stamp & 0xFFFF;
    DosDateTime t;
    t.year = 1980 + static_cast<int>(date >> 9);
    t.month = static_cast<int>((date >> 5) & 0x0F);
    t.day = static_cast<int>(date & 0x1F);
    t.hour = static_cast<int>(time >> 11);
    t.minute = static_cast<int>((time >> 5) & 0x3F);
    t.second = static_cast<int>(time & 0x1F) * 2;
    if (!isValid(t)) return std::nullopt;
    return t;
}

std::uint32_t encodeDosStamp(const DosDateTime& t) {
    if (!isValid(t)) return kNoDosStamp;
    const auto date = static_cast<std::uint32_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
    const auto time = static_cast<std::uint32_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
    return date << 16 | time;
}

}  // namespace kivo
