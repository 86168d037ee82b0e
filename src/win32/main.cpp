// kivo.exe: the Win32 window over the shared commands.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <string>
#include <vector>

#include "win32/TMainForm.h"
#include "win32/Wide.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    std::vector<std::string> arguments;
    int count = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) arguments.push_back(kivo::win32::utf8(argv[i]));
        LocalFree(argv);
    }
    kivo::win32::TMainForm form;
    form.show(showCommand, arguments);
    return kivo::win32::TMainForm::runMessageLoop(form);
}
