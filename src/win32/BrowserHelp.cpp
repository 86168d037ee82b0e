#include "win32/BrowserHelp.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <vector>

#include "commands/HelpCommands.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

// The running executable's folder, its separator at the end.
std::wstring programFolder() {
    std::vector<wchar_t> program(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    std::wstring path(program.data(), length);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path;
}

}  // namespace

std::wstring BrowserHelp::documentPath() { return programFolder() + wide(kHelpDocumentName); }

std::optional<std::string> BrowserHelp::exampleListPath(std::string_view fileName) {
    const std::wstring path = programFolder() + wide(kExampleFolderName) + L"\\" + wide(fileName);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return utf8(path);
}

void BrowserHelp::showHelpContents() {
    const std::wstring document = documentPath();
    if (GetFileAttributesW(document.c_str()) == INVALID_FILE_ATTRIBUTES) {
        boxes_.warning(helpMissingText(utf8(document)));
        return;
    }
    ShellExecuteW(nullptr, L"open", document.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShellUrls::openUrl(const std::string& url) {
    ShellExecuteW(nullptr, L"open", wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace kivo::win32
