// Figures of kivo.exe under the system it runs on (Wine here): start-up to
// the first shown window beside a bare Win32 window's, the load of a long
// list into the list beside SCI_SETTEXT of the same text into a bare
// editor, and what a line costs the list's control. Not a test: it
// reports, it judges nothing.
//
// usage: win32_figures startup <kivo.exe>
//        win32_figures load <lines>
//        win32_figures open <file>     (as kivo.exe <file> opens it)
//        win32_figures line-cost       (each kind of list in a fresh process)
//        win32_figures bare            (the bare window the start-up compares with)
#include <windows.h>
// After windows.h, which they build on.
#include <Scintilla.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/CodePage932.h"
#include "win32/MemoControl.h"
#include "win32/MainWindow.h"
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

std::size_t peakWorkingSet() {
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    return memory.PeakWorkingSetSize;
}

int load(int lines) {
    // Entries of a few words, Japanese and Latin mixed, in code page 932.
    std::string utf8;
    for (int i = 0; i < lines; ++i) utf8 += "お題の語句 " + std::to_string(i) + " ことば\r\n";
    const auto file = std::filesystem::temp_directory_path() / L"kivo-figures.txt";
    std::ofstream(file, std::ios::binary) << kivo::cp932::encode(utf8);

    Silent parts;
    parts.path = kivo::win32::utf8(file.wstring());
    kivo::win32::MainWindow form(kivo::win32::WindowParts{&parts, &parts, nullptr, nullptr});
    ShowWindow(form.handle(), SW_SHOWNORMAL);
    auto begun = Clock::now();
    form.runCommand(kivo::CommandId::NewImportText);
    const double program = millisecondsSince(begun);
    const auto count = form.list().count();

    // The same text as one SCI_SETTEXT into a bare editor of its own.
    const HWND plain = CreateWindowExW(0, L"Scintilla", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 150,
                                       form.handle(), nullptr, nullptr, nullptr);
    SendMessageW(plain, SCI_SETCODEPAGE, SC_CP_UTF8, 0);
    begun = Clock::now();
    SendMessageW(plain, SCI_SETTEXT, 0, reinterpret_cast<LPARAM>(utf8.c_str()));
    const double setText = millisecondsSince(begun);
    std::printf(
        "%d lines (%lu in the list): import %.0f ms, SCI_SETTEXT %.0f ms; "
        "peak %.0f MB\n",
        lines, static_cast<unsigned long>(count), program, setText,
        peakWorkingSet() / 1048576.0);
    std::fflush(stdout);
    std::filesystem::remove(file);
    return 0;
}

// Milliseconds since this process was started.
double sinceProcessStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](FILETIME t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10'000.0;
}

// A file named on the command line, as kivo.exe opens it: the time from
// the process's start to the end of the load, what the list and the
// caption then show, any box, and the peak memory beside the idle window's.
int open(const std::wstring& path) {
    struct Recorded : Silent {
        std::string box;
        void warning(const std::string& text) override { box = text; }
        void error(const std::string& text) override { box = text; }
        void message(const std::string& text) override { box = text; }
    } parts;
    kivo::win32::MainWindow form(kivo::win32::WindowParts{&parts, &parts, nullptr, nullptr});
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    const std::size_t idle = memory.WorkingSetSize;
    form.show(SW_SHOWNORMAL, {"kivo.exe", kivo::win32::utf8(path)});
    const double loaded = sinceProcessStart();
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    wchar_t caption[512] = {};
    GetWindowTextW(form.handle(), caption, 512);
    std::printf(
        "%.0f ms from the start; %lu entries; peak %.0f MB (idle window %.0f MB); "
        "caption \"%s\"; box \"%s\"\n",
        loaded, static_cast<unsigned long>(form.list().count()),
        memory.PeakWorkingSetSize / 1048576.0, idle / 1048576.0, kivo::win32::utf8(caption).c_str(),
        parts.box.c_str());
    std::fflush(stdout);
    return 0;
}


// What each line costs the list's control beyond its text: the process's
// peak private memory before and after a list of `lines` lines of `line`
// goes in, as a load puts it in. One list a process, so that nothing
// before it has raised the peak.
int lineCost(int lines, const std::string& line) {
    std::string text;
    text.reserve((line.size() + 1) * static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) text += line + "\n";
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 150, nullptr,
                                        nullptr, nullptr, nullptr);
    kivo::win32::MemoControl list(parent, 1, {});
    const std::size_t before = peakWorkingSet();
    list.loadWholeText({std::move(text), {}});
    const std::size_t after = peakWorkingSet();
    const double perLine =
        (static_cast<double>(after - before) - static_cast<double>(line.size() + 1) * lines) /
        lines;
    std::printf("%d lines of \"%s\": %.1f bytes a line beyond the text\n", lines, line.c_str(),
                perLine);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"bare") return bare();
    if (mode == L"load" && argc > 2) return load(_wtoi(argv[2]));
    if (mode == L"open" && argc > 2) return open(argv[2]);
    if (mode == L"cost-short") return lineCost(1'000'000, "お題の語句");
    if (mode == L"cost-empty") return lineCost(1'000'000, "");
    if (mode == L"line-cost") {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        for (const wchar_t* kind : {L"cost-short", L"cost-empty"}) {
            std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + kind;
            STARTUPINFOW start{};
            start.cb = sizeof(start);
            PROCESS_INFORMATION process{};
            if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &start, &process)) {
                return 1;
            }
            WaitForSingleObject(process.hProcess, INFINITE);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        return 0;
    }
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
    std::fprintf(stderr,
                 "usage: win32_figures startup <kivo.exe> | load <lines> | open <file> | "
                 "line-cost | bare\n");
    return 2;
}
