#include "win32/SystemParts.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "commands/HelpCommands.h"
#include "core/Titles.h"
#include "win32/ListPrinting.h"
#include "win32/Wide.h"

namespace kivo::win32 {

// ---- Boxes ---------------------------------------------------------------

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

// ---- File dialogs --------------------------------------------------------

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

// ---- Help and browser ----------------------------------------------------

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

// ---- Settings and clock --------------------------------------------------

namespace {
constexpr const wchar_t* kSettingsKey = L"Software\\Quillery\\Kivo";
}

std::optional<bool> RegistrySettings::readBool(const std::string& key) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, wide(key).c_str(), RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value != 0;
}

void RegistrySettings::writeBool(const std::string& key, bool value) {
    HKEY settings = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &settings, nullptr) != ERROR_SUCCESS) {
        return;  // a setting that cannot be kept is not worth an error box
    }
    const DWORD data = value ? 1 : 0;
    RegSetValueExW(settings, wide(key).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof(data));
    RegCloseKey(settings);
}

LocalTime LocalClock::now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// ---- Printer -------------------------------------------------------------

SystemPrinter::~SystemPrinter() {
    if (printer_) DeleteDC(printer_);
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
}

bool SystemPrinter::setUpPrinter() {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    // The choice of printer and paper is kept for the next job.
    dialog.hDevMode = devMode_;
    dialog.hDevNames = devNames_;
    // Printer and paper only: the whole list is always printed.
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                   PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgW(&dialog);
    devMode_ = dialog.hDevMode;
    devNames_ = dialog.hDevNames;
    if (!chosen) return false;
    if (printer_) DeleteDC(printer_);
    printer_ = dialog.hDC;
    return printer_ != nullptr;
}

void SystemPrinter::printList() {
    if (printer_) win32::printList(list_, printer_);
}

}  // namespace kivo::win32
