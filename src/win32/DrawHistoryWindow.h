#pragma once
// A small window beside the main window listing every draw of this run,
// latest first, with its time and both topics. The history can be copied as
// text, saved as CSV and cleared from here. Closing it only hides it; it is
// made when first shown.
#include <windows.h>

#include <functional>

#include "commands/WindowLayout.h"
#include "win32/WindowClass.h"

namespace kivo {
class BoxPort;
class TopicDrawer;
}  // namespace kivo

namespace kivo::win32 {

class AnchorLayout;

class DrawHistoryWindow : private WindowMessages {
public:
    // Its handlers report what escapes them through `boxes`; it takes the
    // main window's font and scale from `layout`; `run` runs a command as
    // the main window's runner does.
    DrawHistoryWindow(TopicDrawer& drawer, HWND mainWindow, const AnchorLayout& layout,
                      BoxPort& boxes, std::function<void(CommandId)> run);
    ~DrawHistoryWindow();
    DrawHistoryWindow(const DrawHistoryWindow&) = delete;
    DrawHistoryWindow& operator=(const DrawHistoryWindow&) = delete;

    // Shows the history as it now is.
    void show();
    void refresh();
    bool isVisible() const;

    void copyHistory();
    void clearHistory();

private:
    void created(HWND hwnd) override { hwnd_ = hwnd; }
    BoxPort& errorBoxes() override { return boxes_; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void create();
    void layOut(int width, int height);

    TopicDrawer& drawer_;
    HWND main_;
    const AnchorLayout& layout_;
    BoxPort& boxes_;
    std::function<void(CommandId)> run_;
    HWND hwnd_ = nullptr;
};

}  // namespace kivo::win32
