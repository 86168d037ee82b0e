#pragma once
// File-name and extension rules on Unicode (UTF-8) paths. The separators
// depend on the platform's style, which is a parameter so that both styles
// are exercised on every build.
#include <filesystem>
#include <string>
#include <string_view>

namespace kivo {

enum class PathStyle {
    Windows,  // "\\", "/" and ":" (drive letters) separate
    Posix,    // only "/" separates
};

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// Everything after the last separator; the whole path when it has none.
// Separators are ASCII, so a UTF-8 sequence (表, ソ, ...) is never cut.
std::string fileNamePart(std::string_view path, PathStyle style = kNativePathStyle);

// The file name from its last "." on, dot included; empty when there is none.
std::string extensionPart(std::string_view path, PathStyle style = kNativePathStyle);

// Paths go between the program's UTF-8 text and the file system's own form
// here only, so that no other place guesses the encoding.
inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

}  // namespace kivo
