#include "win32/AnchorLayout.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "commands/WindowLayout.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

// The dots per inch of the window's screen: GetDpiForWindow where Windows
// has it (10 and later), the system's elsewhere.
UINT dpiOf(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi) {
        if (const UINT dpi = getDpi(hwnd)) return dpi;
    }
    const HDC screen = GetDC(hwnd);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(hwnd, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

HFONT pixelFont(const char* family, int pixels, double scale) {
    return CreateFontW(-static_cast<int>(std::lround(pixels * scale)), 0, 0, 0, FW_NORMAL, FALSE,
                       FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, wide(family).c_str());
}

SIZE textExtent(HWND control, HFONT font) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, font);
    // Measured as the label draws it.
    RECT r{};
    DrawTextW(dc, text.c_str(), length, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

AnchorLayout::~AnchorLayout() {
    for (HFONT font : {windowFont_, topicFont_}) DeleteObject(font);
}

void AnchorLayout::attach(HWND window) {
    window_ = window;
    // Design pixels are 96 per inch; the window grows with its screen's.
    scale_ = dpiOf(window) / 96.0;
    makeFonts();
}

int AnchorLayout::scaled(int designPixels) const {
    return static_cast<int>(std::lround(designPixels * scale_));
}

HWND AnchorLayout::control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

void AnchorLayout::makeFonts() {
    for (HFONT font : {windowFont_, topicFont_}) {
        if (font) DeleteObject(font);
    }
    windowFont_ = pixelFont(kWindowFontFamily, kWindowFontPixels, scale_);
    topicFont_ = pixelFont(kTopicFontFamily, kTopicFontPixels, scale_);
}

void AnchorLayout::sizeStatusBar() {
    SendMessageW(control("StatusBar"), SB_SETMINHEIGHT,
                 static_cast<WPARAM>(scaled(kStatusBarHeight)), 0);
}

void AnchorLayout::sizeToDesign(DWORD windowStyle) {
    sizeStatusBar();
    const Extent design = clientDesignSize(area_);
    RECT frame{0, 0, scaled(design.width), scaled(design.height)};
    AdjustWindowRectEx(&frame, windowStyle, TRUE, 0);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut();
}

POINT AnchorLayout::smallestFrame(DWORD windowStyle) const {
    const Extent smallest = smallestClient(area_);
    RECT frame{0, 0, scaled(smallest.width), scaled(smallest.height)};
    AdjustWindowRectEx(&frame, windowStyle, TRUE, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void AnchorLayout::showTopicArea(const TopicArea& area) {
    const int growth = clientDesignSize(area).height - clientDesignSize(area_).height;
    area_ = area;
    for (const PlacedControl& placed : groupBoxControls(area_)) {
        ShowWindow(control(placed.row->name), placed.shown ? SW_SHOWNA : SW_HIDE);
    }
    RECT frame{};
    GetWindowRect(window_, &frame);
    if (growth != 0 && !IsZoomed(window_) && !IsIconic(window_)) {
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                     frame.bottom - frame.top + scaled(growth),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    layOut();
    // The group box draws its frame over what is below it without erasing:
    // its old bottom edge would stay where the boxes now are.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void AnchorLayout::dpiChanged(UINT dpi, const RECT& suggested) {
    scale_ = dpi / 96.0;
    makeFonts();
    const auto setFont = [](HWND hwnd, HFONT font) {
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    };
    for (const ControlRow& row : groupBoxControls()) {
        setFont(control(row.name), row.kind == ControlKind::Topic ? topicFont_ : windowFont_);
    }
    setFont(control("GroupBox1"), windowFont_);
    setFont(control("StatusBar"), windowFont_);
    sizeStatusBar();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    layOut();
}

void AnchorLayout::layOut() {
    const HWND statusBar = control("StatusBar");
    if (!statusBar) return;
    SendMessageW(statusBar, WM_SIZE, 0, 0);
    RECT client{}, bar{};
    GetClientRect(window_, &client);
    GetWindowRect(statusBar, &bar);
    const auto unscale = [this](long v) { return static_cast<int>(std::lround(v / scale_)); };
    const Extent area{unscale(client.right), unscale(client.bottom - (bar.bottom - bar.top))};
    const Extent design = clientDesignSize(area_);
    const Bounds designBox = groupBoxBounds(area_);
    const Bounds box = placeControl(designBox, AnchorLeft | AnchorTop | AnchorRight | AnchorBottom,
                                    {design.width, design.height - kStatusBarHeight}, area);
    MoveWindow(control("GroupBox1"), scaled(box.left), scaled(box.top), scaled(box.width),
               scaled(box.height), TRUE);

    const std::vector<PlacedControl> controls = groupBoxControls(area_);
    std::vector<Bounds> placed;
    std::vector<unsigned> anchors;
    for (const PlacedControl& each : controls) {
        const ControlRow& row = *each.row;
        Bounds b = placeControl(each.bounds, row.anchors, {designBox.width, designBox.height},
                                {box.width, box.height});
        if (row.anchors & AutoWidth)
            b.width =
                static_cast<int>(std::ceil(textExtent(control(row.name), windowFont_).cx / scale_));
        placed.push_back(b);
        anchors.push_back(row.anchors);
    }
    // Inside the group box's frame.
    keepLabelsInside(placed, anchors, box.width - 3);
    std::size_t k = 0;
    RECT movedLabels{};
    for (const PlacedControl& each : controls) {
        const ControlRow& row = *each.row;
        const Bounds& b = placed[k++];
        const HWND hwnd = control(row.name);
        const RECT now{scaled(box.left + b.left), scaled(box.top + b.top),
                       scaled(box.left + b.left) + scaled(b.width),
                       scaled(box.top + b.top) + scaled(b.height)};
        if (row.anchors & AutoWidth) {
            RECT before{};
            GetWindowRect(hwnd, &before);
            MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&before), 2);
            if (!EqualRect(&before, &now)) {
                // The whole row of a label that moved, its old place and new.
                const RECT row{scaled(box.left), std::min(before.top, now.top),
                               scaled(box.left + box.width), std::max(before.bottom, now.bottom)};
                UnionRect(&movedLabels, &movedLabels, &row);
            }
        }
        MoveWindow(hwnd, now.left, now.top, now.right - now.left, now.bottom - now.top, TRUE);
    }
    // A label that moved left over a neighbour's old place: its row is drawn
    // again at once, the labels over the window and the frame, so that no
    // part of the old text is left over the new.
    if (!IsRectEmpty(&movedLabels)) {
        RedrawWindow(window_, &movedLabels, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

}  // namespace kivo::win32
