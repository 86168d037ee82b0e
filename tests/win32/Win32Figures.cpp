// Figures of kivo.exe under the system it runs on (Wine here): start-up to
// the first shown window beside a bare Win32 window's, and the load of a
// long list into the Rich Edit list beside WM_SETTEXT of the same text.
// Not a test: it reports, it judges nothing.
//
// usage: win32_figures startup <kivo.exe>
//        win32_figures load <lines>
//        win32_figures bare            (the bare window the start-up compares with)
#include <windows.h>
// After windows.h, which it builds on.
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/CodePage932.h"
#include "win32/TMainForm.h"
#include "win32/Wide.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Start to the first visible window of `windowClass`, the median of five.
double startUp(std::wstring commandLine, const wchar_t* windowClass) {
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i) {
        STARTUPINFOW start{};
        start.cb = sizeof(start);
        PROCESS_INFORMATION process{};
        const auto begun = Clock::now();
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &start, &process)) {
            return -1;
        }
        HWND window = nullptr;
        while (millisecondsSince(begun) < 30000) {
            window = FindWindowW(windowClass, nullptr);
            if (window && IsWindowVisible(window)) break;
            Sleep(1);
        }
        runs.push_back(millisecondsSince(begun));
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

int bare() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"KivoBareWindow";
    RegisterClassExW(&wc);
    const HWND hwnd =
        CreateWindowExW(0, wc.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 403, 262, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

struct Silent : kivo::win32::Boxes, kivo::FileDialogPort {
    std::optional<std::string> path;
    kivo::BoxAnswer confirm(const std::string&) override { return kivo::BoxAnswer::No; }
    void warning(const std::string& text) override { std::printf("warning: %s\n", text.c_str()); }
    void message(const std::string&) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void error(const std::string& text) override { std::printf("error: %s\n", text.c_str()); }
    std::optional<std::string> openFile(const kivo::DialogSettings&) override { return path; }
    std::optional<std::string> saveFile(const kivo::DialogSettings&) override { return {}; }
};

int load(int lines) {
    // Entries of a few words, Japanese and Latin mixed, in code page 932.
    std::string utf8;
    for (int i = 0; i < lines; ++i) utf8 += "お題の語句 " + std::to_string(i) + " ことば\r\n";
    const auto file = std::filesystem::temp_directory_path() / L"kivo-figures.txt";
    std::ofstream(file, std::ios::binary) << kivo::cp932::encode(utf8);

    Silent parts;
    parts.path = kivo::win32::utf8(file.wstring());
    kivo::win32::TMainForm form(kivo::win32::WindowParts{&parts, &parts, nullptr, nullptr});
    ShowWindow(form.handle(), SW_SHOWNORMAL);
    auto begun = Clock::now();
    form.runCommand(kivo::CommandId::NewImportText);
    const double program = millisecondsSince(begun);
    const auto count = SendMessageW(form.control("Memo"), EM_GETLINECOUNT, 0, 0);

    // The same text as one WM_SETTEXT into a Rich Edit of its own.
    const HWND plain = CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE,
                                       0, 0, 200, 150, form.handle(), nullptr, nullptr, nullptr);
    SendMessageW(plain, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    const std::wstring text = kivo::win32::wide(utf8);
    begun = Clock::now();
    SendMessageW(plain, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const double setText = millisecondsSince(begun);
    std::printf("%d lines (%lld in the list): import %.0f ms, WM_SETTEXT %.0f ms\n", lines,
                static_cast<long long>(count), program, setText);
    std::fflush(stdout);
    std::filesystem::remove(file);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"bare") return bare();
    if (mode == L"load" && argc > 2) return load(_wtoi(argv[2]));
    if (mode == L"startup" && argc > 2) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const double kivo = startUp(L"\"" + std::wstring(argv[2]) + L"\"", L"TMainForm");
        const double bareWindow =
            startUp(L"\"" + std::wstring(self) + L"\" bare", L"KivoBareWindow");
        std::printf("start-up to the first shown window: kivo.exe %.0f ms, bare window %.0f ms\n",
                    kivo, bareWindow);
        return 0;
    }
    std::fprintf(stderr, "usage: win32_figures startup <kivo.exe> | load <lines> | bare\n");
    return 2;
}
