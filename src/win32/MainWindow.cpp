#include "win32/MainWindow.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "commands/Session.h"
#include "win32/AboutBox.h"
#include "win32/DrawHistoryWindow.h"
#include "win32/FocusedEditor.h"
#include "win32/ListDropTarget.h"
#include "win32/PresentationWindow.h"
#include "win32/ShareDialogs.h"
#include "win32/SystemPrinter.h"
#include "win32/Wide.h"
#include "win32/WindowClass.h"

namespace kivo::win32 {
namespace {

// The window class other programs and tools find the window by.
constexpr const wchar_t* kClassName = L"TMainForm";
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
constexpr int kFirstControlId = 10;
// Files dropped on the list wait for this message.
constexpr UINT kDroppedOnList = WM_APP + 1;

}  // namespace

MainWindow::MainWindow(WindowParts parts)
    : parts_(parts),
      modal_(hintLine_, parts.boxes ? *parts.boxes : systemBoxes_,
             parts.dialogs ? *parts.dialogs : systemDialogs_) {
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    registerWindowClass(kClassName, &windowProcedure, COLOR_BTNFACE);
    if (!parts_.urls) parts_.urls = &systemUrls_;
    if (!parts_.settings) parts_.settings = &systemSettings_;
    if (!parts_.countdownClock) parts_.countdownClock = &countdownTimer_;

    createWindow();
    systemBoxes_.setOwner(hwnd_);
    systemDialogs_.setOwner(hwnd_);
    help_ = std::make_unique<BrowserHelp>(modal_);
    createControls();
    printer_ = std::make_unique<SystemPrinter>(*list_);
    printer_->setOwner(hwnd_);
    about_ = std::make_unique<AboutBox>(hwnd_, kVersionText);
    modal_.setAboutAndPrinter(*about_, *printer_);
    shareDialogs_ = std::make_unique<ShareDialogs>(hwnd_, layout_);
    modal_.setShareDialogs(parts_.shareDialogs ? *parts_.shareDialogs : *shareDialogs_);
    presentationView_ = std::make_unique<PresentationWindow>(
        hwnd_, modal_, [this](CommandId command) { runCommand(command); });
    session_ = std::make_unique<Session>(SessionPorts{
        *list_, ports_, modal_, modal_, *help_, modal_, *parts_.urls, ports_, modal_,
        *presentationView_, ports_, *parts_.settings, clock_, *parts_.countdownClock, modal_});
    history_ =
        std::make_unique<DrawHistoryWindow>(session_->drawer(), hwnd_, layout_, modal_,
                                            [this](CommandId command) { runCommand(command); });
    menus_.create(hwnd_);
    shown_ = {hwnd_,
              control("LabelLineValue"),
              {control("Edit1st"), control("Edit2nd"), control("Edit3rd")},
              {control("LabelHeading1"), control("LabelHeading2"), control("LabelHeading3")},
              menus_.menuBar(),
              &menus_,
              &layout_,
              history_.get(),
              about_.get()};
    createStatusBar();
    session_->start();
}

MainWindow::~MainWindow() {
    about_.reset();
    history_.reset();
    presentationView_.reset();
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void MainWindow::createWindow() {
    // The procedure sets hwnd_ at WM_NCCREATE: handlers see their window
    // while it is being made.
    CreateWindowExW(0, kClassName, L"", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 400, 300,
                    nullptr, nullptr, GetModuleHandleW(nullptr),
                    static_cast<WindowMessages*>(this));
    layout_.attach(hwnd_);
}

void MainWindow::createControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto make = [&](const wchar_t* cls, const std::string& text, DWORD style, DWORD exStyle,
                    int id) {
        const HWND hwnd = CreateWindowExW(
            exStyle, cls, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.windowFont()), FALSE);
        return hwnd;
    };
    int id = kFirstControlId;
    for (const ControlRow& row : groupBoxControls()) {
        HWND hwnd = nullptr;
        switch (row.kind) {
            case ControlKind::List:
                // The list tells of its moves from its first message on;
                // the session follows them once it is there.
                list_ = std::make_unique<MemoControl>(hwnd_, id, [this] {
                    if (session_) session_->listMoved();
                });
                hwnd = list_->handle();
                // The list shows no caption; its hint names it.
                list_->setAccessibleName(wide(row.hint));
                listDrops_ = std::make_unique<ListDropTarget>(
                    *list_,
                    [this](const std::vector<std::string>& paths) { filesDroppedOnList(paths); });
                routeEditorMessages(hwnd);
                break;
            case ControlKind::Button:
                hwnd = make(L"BUTTON", row.text, WS_TABSTOP | BS_PUSHBUTTON, 0, id);
                break;
            case ControlKind::Label:
                // A label with a hint answers to the pointer; one without
                // lets it through to the window, which has no hint. A label
                // is as wide as its text and never breaks it: a count a pixel
                // wider than measured would break before its last digits.
                hwnd = make(L"STATIC", row.text,
                            SS_LEFTNOWORDWRAP | SS_NOPREFIX | (*row.hint ? SS_NOTIFY : 0), 0, id);
                break;
            case ControlKind::Heading:
                // A section's heading over its box, cut short with an
                // ellipsis rather than run into the next column.
                hwnd = make(L"STATIC", row.text,
                            SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX | SS_NOTIFY, 0, id);
                break;
            case ControlKind::Topic:
                hwnd = make(L"EDIT", row.text, WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY,
                            WS_EX_CLIENTEDGE, id);
                SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.topicFont()),
                             FALSE);
                routeEditorMessages(hwnd);
                break;
        }
        controls_[row.name] = hwnd;
        hintLine_.setControlHint(hwnd, row.hint);
        ++id;
    }
    // The group box last: below the controls it frames, and after them in
    // the order of the window's children, which is the tab order.
    // It clips itself to leave the controls over it alone when it is drawn.
    controls_["GroupBox1"] =
        make(L"BUTTON", kGroupBoxText, BS_GROUPBOX | WS_CLIPSIBLINGS, 0, kFirstControlId - 1);
}

void MainWindow::createStatusBar() {
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                                 0, 0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.windowFont()), FALSE);
    // One panel; being the last, it reaches to the bar's right edge.
    int right = -1;
    SendMessageW(statusBar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    controls_["StatusBar"] = statusBar_;
    hintLine_.attach(hwnd_, statusBar_);
    layout_.sizeToDesign(kWindowStyle);
}

void MainWindow::show(int showCommand, const std::vector<std::string>& arguments) {
    arguments_ = arguments;
    RECT desk{}, frame{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &desk, 0);
    GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, desk.left + (desk.right - desk.left - width) / 2,
                 desk.top + (desk.bottom - desk.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    SetFocus(list_->handle());
    // Files dropped on the window are loaded; those dropped on the list come
    // through its drop target.
    DragAcceptFiles(hwnd_, TRUE);
    std::optional<std::string> file;
    if (arguments_.size() >= 2) file = arguments_[1];
    session_->shown(file);
}

void MainWindow::runCommand(CommandId command) { session_->run(command); }

std::wstring MainWindow::statusText() const {
    const auto length = LOWORD(SendMessageW(statusBar_, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(statusBar_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

HWND MainWindow::control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

void MainWindow::idle() { hintLine_.idle(); }

void MainWindow::judgeEditCommands(HMENU menu) {
    // The commands are about the edit control that has the focus; with the
    // focus anywhere else they stay as they are.
    const auto state = editStateOf(GetFocus(), *list_, shown_.topics);
    if (!state) return;
    menus_.enableEditCommands(menu, kivo::judgeEditCommands(*state, clipboardHoldsText()));
}

void MainWindow::contextMenu(HWND where, LPARAM at) {
    HMENU menu = nullptr;
    if (where == list_->handle()) menu = menus_.listMenu();
    if (isTopicBox(where)) menu = menus_.topicMenu();
    if (menu) menus_.showContextMenu(hwnd_, menu, where, {GET_X_LPARAM(at), GET_Y_LPARAM(at)});
}

bool MainWindow::isTopicBox(HWND control) const {
    return control &&
           std::find(shown_.topics.begin(), shown_.topics.end(), control) != shown_.topics.end();
}

void MainWindow::dropFiles(HDROP drop) {
    const std::vector<std::string> paths = droppedPaths(drop);
    DragFinish(drop);
    session_->filesDropped(paths);
}

void MainWindow::filesDroppedOnList(const std::vector<std::string>& paths) {
    droppedOnList_ = paths;
    PostMessageW(hwnd_, kDroppedOnList, 0, 0);
}

// ---- Messages --------------------------------------------------------------

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const auto id = LOWORD(wParam);
            const auto code = HIWORD(wParam);
            const auto from = reinterpret_cast<HWND>(lParam);
            if (from && from == list_->handle() && code == SCEN_CHANGE) {
                session_->listChanged();
            } else if (from && from == control("ButtonOK") && code == BN_CLICKED) {
                runCommand(CommandId::Draw);
            } else if (from && from == control("ButtonListClear") && code == BN_CLICKED) {
                runCommand(CommandId::ClearList);
            } else if (!from && WindowMenus::isCommand(id)) {
                runCommand(static_cast<CommandId>(id));
            }
            return 0;
        }
        case WM_MENUSELECT:
            hintLine_.menuSelect(wParam, lParam);
            return 0;
        case WM_ENTERMENULOOP:
            hintLine_.menuOpen(true);
            return 0;
        case WM_EXITMENULOOP:
            hintLine_.menuOpen(false);
            return 0;
        case WM_INITMENUPOPUP:
            judgeEditCommands(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_CONTEXTMENU:
            contextMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_DROPFILES:
            dropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case kDroppedOnList: {
            const std::vector<std::string> paths = std::move(droppedOnList_);
            droppedOnList_.clear();
            if (!paths.empty()) session_->filesDropped(paths);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            // Labels and the group box on the window's own colour; the
            // read-only topic fields keep an edit's.
            const auto control = reinterpret_cast<HWND>(lParam);
            if (isTopicBox(control)) break;
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR:
            if (ports_.busy() && LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_TIMER:
            if (wParam != CountdownTimer::kTimerId) break;
            // A one-shot: the countdown asks for the next wake-up itself.
            KillTimer(hwnd_, wParam);
            session_->clockTicked();
            return 0;
        case WM_SIZE:
            layout_.layOut();
            return 0;
        case WM_GETMINMAXINFO:
            // Not so small that the topic boxes run into the buttons.
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize =
                layout_.smallestFrame(kWindowStyle);
            return 0;
        case WM_DPICHANGED:
            layout_.dpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace kivo::win32
