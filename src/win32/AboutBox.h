#pragma once
// The About box: a small borderless top-most window, made at start-up after
// the main window and hidden until asked for. It takes the version text when
// made and is shown modally, centred over the main window, as often as the
// user likes; a click closes it, and so do Enter, Esc and Space.
#include <windows.h>

#include <string>

namespace kivo::win32 {

class AboutBox {
public:
    AboutBox(HWND mainWindow, const std::string& versionText);
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    HWND handle() const { return hwnd_; }
    // Shows the box and returns when it has been clicked or keyed away.
    void showModal();
    // Closes the box as a click would (tests, and the end of the program).
    void close();

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc) const;

    HWND main_;
    HWND hwnd_ = nullptr;
    std::wstring versionText_;
    HFONT nameFont_ = nullptr;
    HFONT versionFont_ = nullptr;
    HFONT smallFont_ = nullptr;
    bool open_ = false;
};

}  // namespace kivo::win32
