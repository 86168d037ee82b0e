// kivo.exe: the Win32 window over the shared commands.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <string>
#include <vector>

#include "win32/MainWindow.h"
#include "win32/Wide.h"

namespace {

// The program's message loop, with the idle hint, until the window closes.
int runMessageLoop(kivo::win32::MainWindow& form) {
    MSG msg;
    for (;;) {
        // The hint follows the pointer whenever nothing else is waiting.
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) form.idle();
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) return got == 0 ? static_cast<int>(msg.wParam) : 1;
        if (form.translateShortcut(msg)) continue;
        if (IsDialogMessageW(form.handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    std::vector<std::string> arguments;
    int count = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) arguments.push_back(kivo::win32::utf8(argv[i]));
        LocalFree(argv);
    }
    kivo::win32::MainWindow form;
    form.show(showCommand, arguments);
    return runMessageLoop(form);
}
