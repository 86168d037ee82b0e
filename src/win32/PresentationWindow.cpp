#include "win32/PresentationWindow.h"

#include <algorithm>
#include <utility>

#include "commands/CommandRunner.h"
#include "commands/PresentationCommands.h"
#include "win32/AccessibleClient.h"
#include "win32/Wide.h"
#include "win32/WindowClass.h"

namespace kivo::win32 {
namespace {

constexpr const wchar_t* kClassName = L"TFormPresentation";
constexpr UINT_PTR kPointerTimer = 1;
constexpr DWORD kFullScreenStyle = WS_POPUP;
constexpr DWORD kWindowedStyle = WS_OVERLAPPEDWINDOW;

COLORREF colourRef(unsigned rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

HFONT presentationFont(int pixels) {
    return CreateFontW(-std::max(1, pixels), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH, wide(kPresentationFontFamily).c_str());
}

MONITORINFO monitorOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info;
}

}  // namespace

PresentationWindow::PresentationWindow(HWND mainWindow, BoxPort& boxes,
                                       std::function<void(CommandId)> run)
    : main_(mainWindow), boxes_(boxes), run_(std::move(run)) {}

PresentationWindow::~PresentationWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void PresentationWindow::create() {
    registerWindowClass(kClassName, &windowProcedure, COLOR_WINDOW);
    // Owned by the main window: above it, and its boxes above the view.
    CreateWindowExW(0, kClassName, L"", kFullScreenStyle, 0, 0, 0, 0, main_, nullptr,
                    GetModuleHandleW(nullptr), static_cast<WindowMessages*>(this));
}

void PresentationWindow::showPresentation(const DrawnTopics& topics, PresentationTheme theme) {
    if (!hwnd_) create();
    topics_ = topics;
    theme_ = theme;
    SetWindowTextW(hwnd_, wide(presentationCaption(topics_)).c_str());
    setPresentationFullScreen(true);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
    showPointer();
}

void PresentationWindow::updatePresentation(const DrawnTopics& topics) {
    topics_ = topics;
    announcement_.clear();
    layOut();
    SetWindowTextW(hwnd_, wide(presentationCaption(topics_)).c_str());
    // A screen reader reads the new pair out on the change of the view's
    // name, the same pair drawn again too.
    nameChanged();
}

void PresentationWindow::showCountdown(const CountdownFace& face) {
    const bool textChanged = face.text != face_.text;
    // The topics make room for a countdown, or take its room back.
    const bool comesOrGoes = face.text.empty() != face_.text.empty();
    face_ = face;
    if (textChanged) announcement_.clear();
    if (!hwnd_) return;
    if (comesOrGoes) return layOut();
    if (textChanged) layOut(false);
    invalidateCountdown();
}

void PresentationWindow::countdownEnded(const std::string& announcement) {
    MessageBeep(MB_ICONASTERISK);  // played without waiting
    if (!presentationOpen()) return;
    announcement_ = announcement;
    nameChanged();
}

void PresentationWindow::nameChanged() {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

void PresentationWindow::invalidateCountdown() {
    // The band under the topics, whatever size the time takes in it.
    RECT band{};
    GetClientRect(hwnd_, &band);
    band.top = band.bottom - static_cast<int>(band.bottom * kCountdownShare);
    InvalidateRect(hwnd_, &band, FALSE);
}

void PresentationWindow::setPresentationTheme(PresentationTheme theme) {
    theme_ = theme;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PresentationWindow::setPresentationFullScreen(bool fullScreen) {
    const MONITORINFO monitor = monitorOf(main_);
    RECT bounds = monitor.rcMonitor;
    if (!fullScreen) {
        // A 16:9 client area in the middle of the monitor's work area.
        const RECT& work = monitor.rcWork;
        bounds = RECT{0, 0, kPresentationWindowWidth, kPresentationWindowHeight};
        AdjustWindowRectEx(&bounds, kWindowedStyle, FALSE, 0);
        const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
        bounds.left = work.left + (work.right - work.left - width) / 2;
        bounds.top = work.top + (work.bottom - work.top - height) / 2;
        bounds.right = bounds.left + width;
        bounds.bottom = bounds.top + height;
    }
    const LONG_PTR visible = GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE;
    SetWindowLongPtrW(
        hwnd_, GWL_STYLE,
        static_cast<LONG_PTR>(fullScreen ? kFullScreenStyle : kWindowedStyle) | visible);
    SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_FRAMECHANGED);
    layOut();
}

void PresentationWindow::closePresentation() {
    KillTimer(hwnd_, kPointerTimer);
    ShowWindow(hwnd_, SW_HIDE);
    SetForegroundWindow(main_);
}

bool PresentationWindow::presentationOpen() const { return hwnd_ && IsWindowVisible(hwnd_); }

void PresentationWindow::layOut(bool wholeView) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    // A device context only when a character has not been measured yet.
    HDC dc = nullptr;
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
    const auto measure = [&](std::string_view c) {
        if (!dc) {
            dc = GetDC(hwnd_);
            font = presentationFont(kPresentationMeasurePixels);
            old = SelectObject(dc, font);
        }
        const std::wstring units = wide(c);
        SIZE size{};
        GetTextExtentPoint32W(dc, units.c_str(), static_cast<int>(units.size()), &size);
        return static_cast<double>(size.cx);
    };
    layout_ = fitPresentation(
        topics_, [&](std::string_view c) { return widths_.width(c, measure); }, client.right,
        client.bottom, face_.text);
    if (dc) {
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(hwnd_, dc);
    }
    if (wholeView) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PresentationWindow::paint() {
    PAINTSTRUCT ps;
    const HDC screen = BeginPaint(hwnd_, &ps);
    RECT client{};
    GetClientRect(hwnd_, &client);
    // Painted off the screen first, then shown at once: the time changing
    // every second does not flicker.
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap =
        CreateCompatibleBitmap(screen, std::max(1L, client.right), std::max(1L, client.bottom));
    const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    IntersectClipRect(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    paintLines(dc, client);
    BitBlt(screen, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(hwnd_, &ps);
}

void PresentationWindow::paintLines(HDC dc, const RECT& client) {
    const bool dark = theme_ == PresentationTheme::Dark;
    const PresentationColours colours = dark ? kPresentationDark : kPresentationLight;
    const HBRUSH background = CreateSolidBrush(colourRef(colours.background));
    FillRect(dc, &client, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);
    // A font per size: the topics', the headings' at half of it, the time's.
    HFONT font = nullptr;
    int fontPixels = 0;
    const HGDIOBJ old = GetCurrentObject(dc, OBJ_FONT);
    const auto draw = [&](const PresentationLine& line, unsigned colour) {
        if (!font || line.pixelSize != fontPixels) {
            const HFONT next = presentationFont(line.pixelSize);
            SelectObject(dc, next);
            if (font) DeleteObject(font);
            font = next;
            fontPixels = line.pixelSize;
        }
        SetTextColor(dc, colourRef(colour));
        std::wstring text = wide(line.text);
        RECT box{line.left, line.top, client.right, line.top + line.height};
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    };
    for (const PresentationLine& line : layout_.lines) draw(line, colours.text);
    // Off in the flash's dark half.
    if (layout_.countdown && face_.shown)
        draw(*layout_.countdown, countdownColour(dark, face_.warning));
    SelectObject(dc, old);
    if (font) DeleteObject(font);
}

void PresentationWindow::showPointer() {
    pointerHidden_ = false;
    SetTimer(hwnd_, kPointerTimer, kPresentationPointerHideMs, nullptr);
    POINT at{};
    GetCursorPos(&at);
    // Asks for WM_SETCURSOR again where the pointer is.
    SetCursorPos(at.x, at.y);
}

void PresentationWindow::key(PresentationKey key) {
    const CommandId command = presentationKeyCommand(key);
    if (command != CommandId::None) run_(command);
}

LRESULT PresentationWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // Closed as a window: only hidden, to be shown again.
            closePresentation();
            return 0;
        case WM_KEYDOWN:
            switch (wParam) {
                case VK_SPACE:
                    key(PresentationKey::Space);
                    return 0;
                case VK_RETURN:
                    key(PresentationKey::Enter);
                    return 0;
                case VK_ESCAPE:
                    key(PresentationKey::Escape);
                    return 0;
                case VK_F11:
                    key(PresentationKey::F11);
                    return 0;
                case 'T':
                    key(PresentationKey::T);
                    return 0;
                case 'R':
                    key(PresentationKey::R);
                    return 0;
                default:
                    break;
            }
            break;
        case WM_SYSKEYDOWN:
            if (wParam == VK_RETURN) {
                key(PresentationKey::AltEnter);
                return 0;
            }
            break;
        case WM_MOUSEMOVE: {
            // Windows sends a move for a pointer that has not moved too.
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (at.x != lastPointer_.x || at.y != lastPointer_.y) {
                lastPointer_ = at;
                if (pointerHidden_) showPointer();
                SetTimer(hwnd_, kPointerTimer, kPresentationPointerHideMs, nullptr);
            }
            break;
        }
        case WM_TIMER:
            if (wParam == kPointerTimer) {
                KillTimer(hwnd_, kPointerTimer);
                pointerHidden_ = true;
                POINT at{};
                GetCursorPos(&at);
                if (WindowFromPoint(at) == hwnd_) SetCursor(nullptr);
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(pointerHidden_ ? nullptr : LoadCursorW(nullptr, IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_GETOBJECT: {
            ClientFacts facts;
            // At zero, the line that says so after the topics.
            std::string name = presentationText(topics_);
            if (!announcement_.empty()) name += (name.empty() ? "" : "\n") + announcement_;
            facts.name = wide(name);
            if (const LRESULT answer =
                    answerClientObject(hwnd_, std::move(facts), wParam, lParam)) {
                return answer;
            }
            break;
        }
        case WM_SIZE:
            layOut();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT:
            paint();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace kivo::win32
