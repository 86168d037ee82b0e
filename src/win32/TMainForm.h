#pragma once
// The main window of kivo.exe. It builds its controls, menus and status bar
// from the layout table and routes each event: a menu item or a button to
// the command runner; an edit of the list, a move of its caret and dropped
// files to the commands; the rest to its helpers. AnchorLayout places the
// controls, HintLine keeps the hint line, FocusedEditor tells the edit
// commands what the focused control holds, DrawHistoryWindow shows the
// draws. It holds no rule of its own; the commands reach its controls
// through Win32WindowPorts.
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
#include "win32/HintLine.h"
#include "win32/MemoControl.h"
#include "win32/SystemParts.h"

namespace kivo {
class BoxPort;
class CommandRunner;
class EditCommands;
class PresentationCommands;
class FileCommands;
class HelpCommands;
class TopicCommands;
}  // namespace kivo

namespace kivo::win32 {

class AboutBox;
class DrawHistoryWindow;
class ListDropTarget;
class PresentationWindow;
class Win32WindowPorts;

// The parts a test may put in place of the system's own; null: the
// system's.
struct WindowParts {
    Boxes* boxes = nullptr;
    FileDialogPort* dialogs = nullptr;
    UrlPort* urls = nullptr;
    SettingsStore* settings = nullptr;
};

class TMainForm {
public:
    // Makes the window, hidden, with every control and menu; FormCreate has
    // run when this returns.
    explicit TMainForm(WindowParts parts = {});
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    HWND handle() const { return hwnd_; }
    // Centres the window on the desktop and shows it in the process's start
    // state; FormShow runs then, with the process's arguments.
    void show(int showCommand, const std::vector<std::string>& arguments);

    // Runs a menu command or button as the user's choice would, through the
    // command wrapper (errors go to the error box).
    void runCommand(CommandId command);
    // The program has nothing left to do: the hint line follows the pointer.
    void idle();

    // What tests and the screenshot read.
    HWND control(std::string_view name) const;
    HMENU mainMenu() const { return menuBar_; }
    HMENU popupMenu1() const { return popup1_; }
    HMENU popupMenu2() const { return popup2_; }
    std::wstring statusText() const;
    const std::string& currentFile() const;
    AboutBox& about() { return *FormAbout; }
    PresentationWindow& presentationView() { return *presentationView_; }
    MemoControl& list() { return *list_; }

    // A shortcut key of the main window's, run; false for any other message.
    bool translateShortcut(MSG& msg);

    // Message loop of the program, with the idle hint, until the window closes.
    static int runMessageLoop(TMainForm& form);

private:
    friend class Win32WindowPorts;

    template <typename>
    friend LRESULT CALLBACK windowProcedure(HWND, UINT, WPARAM, LPARAM);
    BoxPort& errorBoxes();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void createWindow();
    void createControls();
    void createMenus();
    void createStatusBar();
    HMENU buildMenu(std::span<const MenuItem> items, bool bar);
    void createShortcuts();

    void FormCreate();
    void FormShow();
    void MemoSelectionChange();
    void judgeEditCommands(HMENU menu);
    void contextMenu(HWND where, LPARAM at);
    void dropFiles(HDROP drop);
    // Files dropped on the list, loaded once the system's drag has ended:
    // a load may ask questions, and the program that dragged them waits.
    void filesDroppedOnList(const std::vector<std::string>& paths);

    WindowParts parts_;
    HWND hwnd_ = nullptr;
    HWND StatusBar = nullptr;
    HWND GroupBox1 = nullptr;
    HWND Memo = nullptr;
    HWND ButtonOK = nullptr;
    HWND ButtonListClear = nullptr;
    HWND Label3 = nullptr;
    HWND Label1 = nullptr;
    HWND LabelLineValue = nullptr;
    HWND Edit1st = nullptr;
    HWND Edit2nd = nullptr;
    HMENU menuBar_ = nullptr;
    HMENU popup1_ = nullptr;
    HMENU popup2_ = nullptr;
    AnchorLayout::Controls controls_;
    AnchorLayout layout_{controls_};
    HintLine hintLine_;
    // Separators have identifiers of their own, above the commands', so
    // that one can carry a hint.
    static constexpr UINT kFirstSeparatorId = 900;
    UINT nextSeparatorId_ = kFirstSeparatorId;
    // Long work under way (nested), shown by the wait cursor.
    int busy_ = 0;

    std::unique_ptr<MemoControl> list_;
    std::unique_ptr<ListDropTarget> listDrops_;
    std::vector<std::string> droppedOnList_;
    SystemBoxes systemBoxes_;
    CommonDialogs systemDialogs_;
    ShellUrls systemUrls_;
    RegistrySettings systemSettings_;
    LocalClock clock_;
    std::unique_ptr<BrowserHelp> help_;
    std::unique_ptr<SystemPrinter> printer_;
    std::unique_ptr<AboutBox> FormAbout;
    std::unique_ptr<DrawHistoryWindow> history_;
    std::unique_ptr<Win32WindowPorts> ports_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<TopicCommands> topics_;
    std::unique_ptr<EditCommands> edits_;
    std::unique_ptr<HelpCommands> helps_;
    std::unique_ptr<PresentationWindow> presentationView_;
    std::unique_ptr<PresentationCommands> presentation_;
    std::unique_ptr<CommandRunner> runner_;
    // The keys that run a command from anywhere in the window (F11).
    HACCEL shortcuts_ = nullptr;
    std::vector<std::string> arguments_;
    std::string FVersionText;
    int topMostLowered_ = 0;
    std::vector<HWND> lowered_;
};

}  // namespace kivo::win32
