#include "win32/SystemBoxes.h"

#include <commdlg.h>

#include <vector>

#include "core/Titles.h"
#include "win32/Wide.h"

namespace kivo::win32 {

int SystemBoxes::show(const std::string& text, const std::string& caption, UINT style) {
    // Modal over its owner, the main window, which takes no input while the
    // box is up.
    return MessageBoxW(owner_, wide(text).c_str(), wide(caption).c_str(), style | MB_SETFOREGROUND);
}

BoxAnswer SystemBoxes::confirm(const std::string& text) {
    switch (show(text, "確認", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1)) {
        case IDYES:
            return BoxAnswer::Yes;
        case IDNO:
            return BoxAnswer::No;
        default:
            return BoxAnswer::Cancel;
    }
}

void SystemBoxes::warning(const std::string& text) {
    show(text, "警告", MB_OK | MB_ICONEXCLAMATION);
}

void SystemBoxes::message(const std::string& text) { show(text, kApplicationTitleText, MB_OK); }

bool SystemBoxes::askYesNo(const std::string& caption, const std::string& text) {
    return show(text, caption, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void SystemBoxes::error(const std::string& text) {
    show(text, kApplicationTitleText, MB_OK | MB_ICONSTOP);
}

std::wstring CommonDialogs::filterOf(const std::string& filter) {
    std::wstring units = wide(filter);
    for (wchar_t& c : units) {
        if (c == L'|') c = L'\0';
    }
    units.push_back(L'\0');
    units.push_back(L'\0');
    return units;
}

std::optional<std::string> CommonDialogs::run(const DialogSettings& settings, bool save) {
    const std::wstring filter = filterOf(settings.filter);
    std::wstring extension = wide(settings.defaultExtension);
    if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return utf8(path.data());
}

std::optional<std::string> CommonDialogs::openFile(const DialogSettings& settings) {
    return run(settings, false);
}

std::optional<std::string> CommonDialogs::saveFile(const DialogSettings& settings) {
    return run(settings, true);
}

}  // namespace kivo::win32
