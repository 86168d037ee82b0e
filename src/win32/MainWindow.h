#pragma once
// The main window of kivo.exe. It builds its controls, menus and status bar
// from the layout table, makes the session over them and hands it each
// event: a menu item or a button, an edit of the list, a move of its caret,
// dropped files. AnchorLayout places the controls, WindowMenus builds the
// menus, HintLine keeps the hint line, FocusedEditor tells the edit
// commands what the focused control holds, DrawHistoryWindow shows the
// draws. It holds no rule and no state of the program's own: the session
// does, and reaches the controls through Win32WindowPorts.
//
// The controls keep the names the program has always used for them (see
// the layout table in commands/WindowLayout.h): Memo (Scintilla's control),
// ButtonOK, ButtonListClear, Label3, Label1, LabelLineValue, Edit1st,
// Edit2nd inside GroupBox1, StatusBar with its one panel, PopupMenu1 over
// the list and PopupMenu2 over the topics.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "commands/WindowLayout.h"
#include "win32/AnchorLayout.h"
#include "win32/BrowserHelp.h"
#include "win32/HintLine.h"
#include "win32/MemoControl.h"
#include "win32/RegistrySettings.h"
#include "win32/SystemBoxes.h"
#include "win32/Win32WindowPorts.h"
#include "win32/WindowClass.h"
#include "win32/WindowMenus.h"

namespace kivo {
class Session;
}  // namespace kivo

namespace kivo::win32 {

class AboutBox;
class DrawHistoryWindow;
class ListDropTarget;
class PresentationWindow;
class ShareDialogs;
class SystemPrinter;

// The parts a test may put in place of the system's own; null: the
// system's.
struct WindowParts {
    Boxes* boxes = nullptr;
    FileDialogPort* dialogs = nullptr;
    UrlPort* urls = nullptr;
    SettingsStore* settings = nullptr;
    ShareDialogPort* shareDialogs = nullptr;
    CountdownClockPort* countdownClock = nullptr;
};

class MainWindow : private WindowMessages {
public:
    // Makes the window, hidden, with every control and menu; the session
    // has started when this returns.
    explicit MainWindow(WindowParts parts = {});
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return hwnd_; }
    // Centres the window on the desktop and shows it in the process's start
    // state; the file the arguments name comes in then.
    void show(int showCommand, const std::vector<std::string>& arguments);

    // Runs a menu command or button as the user's choice would, through the
    // command wrapper (errors go to the error box).
    void runCommand(CommandId command);
    // The program has nothing left to do: the hint line follows the pointer.
    void idle();
    // The program behind the window: its commands, file and topics.
    Session& session() { return *session_; }

    // What tests and the screenshot read.
    HWND control(std::string_view name) const;
    HMENU mainMenu() const { return menus_.menuBar(); }
    HMENU popupMenu1() const { return menus_.listMenu(); }
    HMENU popupMenu2() const { return menus_.topicMenu(); }
    std::wstring statusText() const;
    AboutBox& about() { return *about_; }
    PresentationWindow& presentationView() { return *presentationView_; }
    MemoControl& list() { return *list_; }
    // The countdown's own clock, for a test's clock to wake through.
    CountdownTimer& countdownTimer() { return countdownTimer_; }

    // A shortcut key of the main window's, run; false for any other message.
    bool translateShortcut(MSG& msg) { return menus_.translateShortcut(hwnd_, msg); }

private:
    void created(HWND hwnd) override { hwnd_ = hwnd; }
    BoxPort& errorBoxes() override { return modal_; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void createWindow();
    void createControls();
    void createStatusBar();
    void judgeEditCommands(HMENU menu);
    void contextMenu(HWND where, LPARAM at);
    bool isTopicBox(HWND control) const;
    void dropFiles(HDROP drop);
    // Files dropped on the list, loaded once the system's drag has ended:
    // a load may ask questions, and the program that dragged them waits.
    void filesDroppedOnList(const std::vector<std::string>& paths);

    WindowParts parts_;
    HWND hwnd_ = nullptr;
    HWND statusBar_ = nullptr;
    Win32WindowControls shown_;
    AnchorLayout::Controls controls_;
    AnchorLayout layout_{controls_};
    HintLine hintLine_;
    WindowMenus menus_{hintLine_};

    std::unique_ptr<MemoControl> list_;
    std::unique_ptr<ListDropTarget> listDrops_;
    std::vector<std::string> droppedOnList_;
    SystemBoxes systemBoxes_;
    CommonDialogs systemDialogs_;
    ShellUrls systemUrls_;
    RegistrySettings systemSettings_;
    LocalClock clock_;
    ModalParts modal_;
    std::unique_ptr<BrowserHelp> help_;
    std::unique_ptr<SystemPrinter> printer_;
    std::unique_ptr<AboutBox> about_;
    std::unique_ptr<DrawHistoryWindow> history_;
    Win32WindowPorts ports_{shown_};
    CountdownTimer countdownTimer_{shown_};
    std::unique_ptr<ShareDialogs> shareDialogs_;
    std::unique_ptr<PresentationWindow> presentationView_;
    std::unique_ptr<Session> session_;
    std::vector<std::string> arguments_;
};

}  // namespace kivo::win32
