#pragma once
// The presentation view of kivo.exe: the two topics large, full screen on
// the monitor of the main window (a WS_POPUP window owned by it), or a
// window of its own that a stream can capture. It measures characters with
// GDI and paints where fitPresentation puts the lines; its keys run
// commands (PresentationCommands). Under the topics it shows the
// countdown, which it is told of (TimerCommands); at zero it sounds once.
// Its caption names the topics on one line for the task bar; a screen
// reader names it by the topics, a line each, and at zero by the line that
// says so after them.
#include <windows.h>

#include <functional>
#include <string>

#include "commands/Ports.h"
#include "commands/PresentationCommands.h"
#include "commands/PresentationLayout.h"
#include "commands/WindowLayout.h"
#include "win32/WindowClass.h"

namespace kivo::win32 {

class PresentationWindow : public PresentationPort, private WindowMessages {
public:
    // Its handlers report what escapes them through `boxes`; `run` runs a
    // command as the main window's runner does. Made when first shown.
    PresentationWindow(HWND mainWindow, BoxPort& boxes, std::function<void(CommandId)> run);
    ~PresentationWindow() override;
    PresentationWindow(const PresentationWindow&) = delete;
    PresentationWindow& operator=(const PresentationWindow&) = delete;

    void showPresentation(const DrawnTopics& topics, PresentationTheme theme) override;
    void updatePresentation(const DrawnTopics& topics) override;
    void setPresentationTheme(PresentationTheme theme) override;
    void setPresentationFullScreen(bool fullScreen) override;
    void closePresentation() override;
    bool presentationOpen() const override;
    void showCountdown(const CountdownFace& face) override;
    void countdownEnded(const std::string& announcement) override;

    // What tests read.
    HWND handle() const { return hwnd_; }
    const PresentationLayout& presentationLayout() const { return layout_; }
    const CountdownFace& countdownFace() const { return face_; }

private:
    void created(HWND hwnd) override { hwnd_ = hwnd; }
    BoxPort& errorBoxes() override { return boxes_; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void create();
    // Every line placed anew; the whole view painted again unless told not.
    void layOut(bool wholeView = true);
    void paint();
    void paintLines(HDC dc, const RECT& client);
    // The band the countdown's line takes, to be painted again.
    void invalidateCountdown();
    // Tells a screen reader the view's name has changed.
    void nameChanged();
    void showPointer();
    void key(PresentationKey key);

    HWND main_;
    BoxPort& boxes_;
    std::function<void(CommandId)> run_;
    HWND hwnd_ = nullptr;
    DrawnTopics topics_;
    CountdownFace face_;
    // Said after the topics in the view's name until the time shown changes.
    std::string announcement_;
    PresentationTheme theme_ = PresentationTheme::Light;
    PresentationLayout layout_;
    MeasuredWidths widths_;
    bool pointerHidden_ = false;
    POINT lastPointer_{-1, -1};
};

}  // namespace kivo::win32
