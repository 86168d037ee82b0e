#pragma once
// Places the main window's controls from the layout table: each at its
// design bounds inside the group box, its anchored edges kept at their
// distance to the box's edges as the window is resized, all of it scaled
// from 96 dots per inch to the window's screen. The window's fonts are made
// at that scale, and made anew, with a new size, when the window moves to a
// screen of another resolution.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "commands/WindowLayout.h"

namespace kivo::win32 {

class AnchorLayout {
public:
    // The controls by their names in the layout table, GroupBox1 and
    // StatusBar among them; filled in as the window makes them.
    using Controls = std::map<std::string, HWND, std::less<>>;

    explicit AnchorLayout(const Controls& controls) : controls_(controls) {}
    ~AnchorLayout();
    AnchorLayout(const AnchorLayout&) = delete;
    AnchorLayout& operator=(const AnchorLayout&) = delete;

    // Takes the scale of the window's screen and makes the fonts at it.
    void attach(HWND window);

    double scale() const { return scale_; }
    // Design pixels at the screen's scale.
    int scaled(int designPixels) const;
    HFONT windowFont() const { return windowFont_; }
    HFONT topicFont() const { return topicFont_; }

    // The status bar at its height and the client area at the design size
    // (below the menu bar of a window of this style), every control in place.
    void sizeToDesign(DWORD windowStyle);
    // Every control in place at the window's present size; nothing until
    // the status bar is made.
    void layOut();
    // The window moved to a screen of `dpi`; Windows suggests its new frame.
    void dpiChanged(UINT dpi, const RECT& suggested);
    // Lays the controls out for another topic area, shows those it holds and
    // hides the rest; the window grows or shrinks by what the area adds.
    void showTopicArea(const TopicArea& area);
    // The window's smallest frame, for WM_GETMINMAXINFO.
    POINT smallestFrame(DWORD windowStyle) const;

private:
    HWND control(std::string_view name) const;
    void makeFonts();
    void sizeStatusBar();

    const Controls& controls_;
    HWND window_ = nullptr;
    double scale_ = 1.0;
    HFONT windowFont_ = nullptr;
    HFONT topicFont_ = nullptr;
    TopicArea area_;
};

}  // namespace kivo::win32
