#include "win32/AboutBox.h"

#include <algorithm>

#include "commands/WindowLayout.h"
#include "win32/Wide.h"
#include "win32/WindowClass.h"

namespace kivo::win32 {
namespace {

// The window class other programs and tools find the box by.
constexpr const wchar_t* kClassName = L"TFormAbout";
// WM_KEYDOWN's flag for a key that was already down: a repeat.
constexpr LPARAM kKeyWasDown = LPARAM{1} << 30;

COLORREF colourRef(unsigned rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

HFONT trebuchet(int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, wide(kAboutFontFamily).c_str());
}

void fill(HDC dc, RECT r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// Draws text at a point and answers where it ends.
int drawText(HDC dc, HFONT font, COLORREF colour, int x, int y, const std::wstring& text) {
    SelectObject(dc, font);
    SetTextColor(dc, colour);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return x + size.cx;
}

}  // namespace

AboutBox::AboutBox(HWND mainWindow, const std::string& versionText)
    : main_(mainWindow), versionText_(wide(versionText)) {
    registerWindowClass(kClassName, DefWindowProcW, COLOR_3DSHADOW, false);
    nameFont_ = trebuchet(24);
    versionFont_ = trebuchet(13);
    smallFont_ = trebuchet(11);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0,
                            kAboutWidth, kAboutHeight, mainWindow, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AboutBox::procedure));
}

AboutBox::~AboutBox() {
    if (hwnd_) DestroyWindow(hwnd_);
    for (HFONT font : {nameFont_, versionFont_, smallFont_}) DeleteObject(font);
}

void AboutBox::showModal() {
    // Centred anew at each showing, since the main window may have moved,
    // but never left of or above the screen's origin.
    RECT frame{};
    GetWindowRect(main_, &frame);
    const int left = std::max(0L, frame.left + (frame.right - frame.left - kAboutWidth) / 2);
    const int top = std::max(0L, frame.top + (frame.bottom - frame.top - kAboutHeight) / 2);
    SetWindowPos(hwnd_, nullptr, left, top, kAboutWidth, kAboutHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    open_ = true;
    EnableWindow(main_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    MSG msg;
    while (open_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(main_, TRUE);
    ShowWindow(hwnd_, SW_HIDE);
    SetForegroundWindow(main_);
}

void AboutBox::close() { open_ = false; }

LRESULT CALLBACK AboutBox::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(hwnd, &ps);
            box->paint(dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_CLOSE:
            // Closed as a window (Alt+F4) it hides as after a click: the
            // box is kept for the next showing, and its loop must end.
            box->close();
            return 0;
        case WM_KEYDOWN:
            // The keys a box is closed with; not a key still held from
            // before the box came up, whose repeats come here too.
            if ((wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_SPACE) &&
                !(lParam & kKeyWasDown)) {
                box->close();
            }
            return 0;
        case WM_CHAR:
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void AboutBox::paint(HDC dc) const {
    const RECT all{0, 0, kAboutWidth, kAboutHeight};
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    fill(dc, all, shadow);
    // A lowered frame: shadow along the top and left, light along the
    // bottom and right.
    fill(dc, {0, 0, kAboutWidth, 1}, GetSysColor(COLOR_3DDKSHADOW));
    fill(dc, {0, 0, 1, kAboutHeight}, GetSysColor(COLOR_3DDKSHADOW));
    fill(dc, {0, kAboutHeight - 1, kAboutWidth, kAboutHeight}, GetSysColor(COLOR_3DHILIGHT));
    fill(dc, {kAboutWidth - 1, 0, kAboutWidth, kAboutHeight}, GetSysColor(COLOR_3DHILIGHT));
    SetBkMode(dc, TRANSPARENT);
    int x = 32;
    for (const AboutNamePiece& piece : kAboutNamePieces) {
        x = drawText(dc, nameFont_, colourRef(piece.colour), x, 12, wide(piece.text));
    }
    drawText(dc, versionFont_, RGB(255, 255, 255), 140, 48, versionText_);
    drawText(dc, smallFont_, GetSysColor(COLOR_WINDOWTEXT), 18, 74, wide(kAboutRightsLine));
    drawText(dc, smallFont_, RGB(0, 0, 0), 163, 80, wide(kAboutCreditsLine));
    // The white rules.
    const COLORREF white = RGB(255, 255, 255);
    fill(dc, {16, 0, 17, 57}, white);
    fill(dc, {16, 56, 121, 58}, white);
    fill(dc, {224, 30, 265, 31}, white);
}

}  // namespace kivo::win32
