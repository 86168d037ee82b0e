#include "win32/DrawHistoryWindow.h"

#include <string>
#include <utility>

#include "commands/CommandRunner.h"
#include "commands/WindowLayout.h"
#include "win32/AnchorLayout.h"
#include "win32/Clipboard.h"
#include "win32/ControlHints.h"
#include "win32/Wide.h"
#include "win32/WindowClass.h"
#include "wordlist/TopicDrawer.h"

namespace kivo::win32 {
namespace {

constexpr const wchar_t* kClassName = L"TFormDrawHistory";

// Its controls, by their identifiers.
enum HistoryControl { kHistoryText = 1, kHistoryCopy, kHistoryClear, kHistoryClose, kHistoryCsv };

}  // namespace

DrawHistoryWindow::DrawHistoryWindow(TopicDrawer& drawer, HWND mainWindow,
                                     const AnchorLayout& layout, BoxPort& boxes,
                                     std::function<void(CommandId)> run)
    : drawer_(drawer), main_(mainWindow), layout_(layout), boxes_(boxes), run_(std::move(run)) {}

DrawHistoryWindow::~DrawHistoryWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void DrawHistoryWindow::create() {
    registerWindowClass(kClassName, &windowProcedure, COLOR_BTNFACE);
    CreateWindowExW(0, kClassName, wide(kDrawHistoryCaption).c_str(), WS_OVERLAPPEDWINDOW,
                    CW_USEDEFAULT, CW_USEDEFAULT, 460, 300, main_, nullptr,
                    GetModuleHandleW(nullptr), static_cast<WindowMessages*>(this));
    const auto child = [this](const wchar_t* kind, const std::string& caption, DWORD style, int id,
                              DWORD extended = 0) {
        const HWND control = CreateWindowExW(
            extended, kind, wide(caption).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.windowFont()), FALSE);
        return control;
    };
    child(L"EDIT", "", WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY, kHistoryText,
          WS_EX_CLIENTEDGE);
    child(L"BUTTON", kDrawHistoryCopyCaption, WS_TABSTOP | BS_PUSHBUTTON, kHistoryCopy);
    child(L"BUTTON", kDrawHistoryClearCaption, WS_TABSTOP | BS_PUSHBUTTON, kHistoryClear);
    const HWND csv =
        child(L"BUTTON", kDrawHistoryCsvCaption, WS_TABSTOP | BS_PUSHBUTTON, kHistoryCsv);
    ControlHints(hwnd_, layout_.scaled(320)).add(csv, kDrawHistoryCsvCaption, kDrawHistoryCsvHint);
    child(L"BUTTON", kDrawHistoryCloseCaption, WS_TABSTOP | BS_PUSHBUTTON, kHistoryClose);
    RECT client{};
    GetClientRect(hwnd_, &client);
    layOut(client.right, client.bottom);
}

void DrawHistoryWindow::show() {
    if (!hwnd_) create();
    refresh();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
}

void DrawHistoryWindow::refresh() {
    const bool any = !drawer_.history().empty();
    EnableWindow(GetDlgItem(hwnd_, kHistoryCopy), any);
    EnableWindow(GetDlgItem(hwnd_, kHistoryClear), any);
    EnableWindow(GetDlgItem(hwnd_, kHistoryCsv), any);
    SetDlgItemTextW(hwnd_, kHistoryText, wide(drawer_.history().text("\r\n")).c_str());
}

bool DrawHistoryWindow::isVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void DrawHistoryWindow::copyHistory() {
    putOnClipboard(hwnd_, wide(drawer_.history().text("\r\n")));
}

void DrawHistoryWindow::clearHistory() {
    drawer_.clearHistory();
    refresh();
}

void DrawHistoryWindow::layOut(int width, int height) {
    // The text fills the window above one row of buttons: copy, clear and
    // save on the left, close on the right.
    const auto px = [this](int v) { return layout_.scaled(v); };
    const int buttonTop = height - px(8) - px(24);
    MoveWindow(GetDlgItem(hwnd_, kHistoryText), px(8), px(8), width - px(16), buttonTop - px(16),
               TRUE);
    MoveWindow(GetDlgItem(hwnd_, kHistoryCopy), px(8), buttonTop, px(90), px(24), TRUE);
    MoveWindow(GetDlgItem(hwnd_, kHistoryClear), px(104), buttonTop, px(90), px(24), TRUE);
    MoveWindow(GetDlgItem(hwnd_, kHistoryCsv), px(200), buttonTop, px(120), px(24), TRUE);
    MoveWindow(GetDlgItem(hwnd_, kHistoryClose), width - px(98), buttonTop, px(90), px(24), TRUE);
}

LRESULT DrawHistoryWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // Closing only hides it: the history stays for the run.
            ShowWindow(hwnd_, SW_HIDE);
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) break;
            switch (LOWORD(wParam)) {
                case kHistoryCopy:
                    copyHistory();
                    break;
                case kHistoryClear:
                    clearHistory();
                    break;
                case kHistoryCsv:
                    run_(CommandId::SaveHistoryCsv);
                    break;
                case kHistoryClose:
                    ShowWindow(hwnd_, SW_HIDE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_SIZE:
            layOut(LOWORD(lParam), HIWORD(lParam));
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace kivo::win32
