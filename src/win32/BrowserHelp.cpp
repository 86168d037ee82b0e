#include "win32/BrowserHelp.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <vector>

#include "commands/HelpCommands.h"
#include "win32/Wide.h"

namespace kivo::win32 {

std::wstring BrowserHelp::documentPath() {
    std::vector<wchar_t> program(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    std::wstring path(program.data(), length);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + wide(kHelpDocumentName);
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
