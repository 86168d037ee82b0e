#pragma once
// The Win32 main window as the commands see it where its controls join:
// the caption, the count and the topics, the wait cursor, the draw history,
// the menu checks and the top-most windows; and what shows modally over it
// (boxes, dialogs, the About box, the printer set-up), which the hint line
// counts as open meanwhile. The list is a port itself (MemoControl); so are
// the system's parts (SystemBoxes.h, BrowserHelp.h, RegistrySettings.h,
// SystemPrinter.h).
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/CommandRunner.h"
#include "commands/Ports.h"

namespace kivo::win32 {

class AboutBox;
class AnchorLayout;
class DrawHistoryWindow;
class HintLine;
class SystemPrinter;
class WindowMenus;

// The controls the ports show things in, filled in by the window as it
// makes them.
struct Win32WindowControls {
    HWND window = nullptr;
    HWND count = nullptr;
    std::array<HWND, 3> topics{};
    std::array<HWND, 3> headings{};
    HMENU menuBar = nullptr;
    WindowMenus* menus = nullptr;
    AnchorLayout* layout = nullptr;
    DrawHistoryWindow* history = nullptr;
    AboutBox* about = nullptr;
};

class Win32WindowPorts : public MainWindowPort, public WindowCommandPort, public TopMostPort {
public:
    explicit Win32WindowPorts(const Win32WindowControls& controls) : controls_(controls) {}

    // Long work under way: the window shows the wait cursor.
    bool busy() const { return busy_ > 0; }

    void setCaption(const std::string& caption) override;
    void showLineCount(const std::string& count) override;
    void showTopics(const DrawnTopics& topics) override;
    void clearTopics() override;
    void showTopicArea(const TopicArea& area) override;
    void historyChanged() override;
    void copyToClipboard(const std::string& text) override;
    void showBusy(bool busy) override;

    void closeWindow() override;
    void showDrawHistory() override;
    void showChecked(CommandId command, bool on) override;

    void lowerTopMost() override;
    void raiseTopMost() override;

private:
    const Win32WindowControls& controls_;
    int busy_ = 0;
    int topMostLowered_ = 0;
    std::vector<HWND> lowered_;
};

// The countdown's clock: the system's milliseconds since it started, which
// never go back, and its wake-ups as a one-shot timer of the main window's,
// whose WM_TIMER the window hands to the session.
class CountdownTimer : public CountdownClockPort {
public:
    static constexpr UINT_PTR kTimerId = 1;
    explicit CountdownTimer(const Win32WindowControls& controls) : controls_(controls) {}

    std::int64_t milliseconds() override;
    void wakeAfter(int milliseconds) override;
    void stopWaking() override;

private:
    const Win32WindowControls& controls_;
};

// The boxes, the file dialogs, the share dialogs, the About box and the
// printer over the main window, counted as open for the hint line while
// they show.
class ModalParts : public BoxPort,
                   public FileDialogPort,
                   public ShareDialogPort,
                   public AboutPort,
                   public PrintPort {
public:
    ModalParts(HintLine& hints, BoxPort& boxes, FileDialogPort& dialogs)
        : hints_(hints), boxes_(boxes), dialogs_(dialogs) {}
    // Made after the window, with the list they show and print.
    void setAboutAndPrinter(AboutBox& about, SystemPrinter& printer) {
        about_ = &about;
        printer_ = &printer;
    }
    // Made after the window, in its font and at its scale.
    void setShareDialogs(ShareDialogPort& shareDialogs) { shareDialogs_ = &shareDialogs; }

    BoxAnswer confirm(const std::string& text) override;
    void warning(const std::string& text) override;
    void message(const std::string& text) override;
    void error(const std::string& text) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFile(const DialogSettings& settings) override;
    std::optional<std::string> saveFile(const DialogSettings& settings) override;
    std::optional<ShareSettings> editShareSettings(const ShareSettings& settings) override;
    std::optional<int> askTimerMinutes(int minutes) override;
    void showAbout() override;
    bool setUpPrinter() override;
    void printList() override;

private:
    template <typename Run>
    auto modal(Run&& run);

    HintLine& hints_;
    BoxPort& boxes_;
    FileDialogPort& dialogs_;
    ShareDialogPort* shareDialogs_ = nullptr;
    AboutBox* about_ = nullptr;
    SystemPrinter* printer_ = nullptr;
};

}  // namespace kivo::win32
