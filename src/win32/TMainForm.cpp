#include "win32/TMainForm.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstdlib>

#include "commands/CommandRunner.h"
#include "commands/EditCommands.h"
#include "commands/FileCommands.h"
#include "commands/HelpCommands.h"
#include "commands/PresentationCommands.h"
#include "commands/TopicCommands.h"
#include "commands/WindowRules.h"
#include "win32/AboutBox.h"
#include "win32/DrawHistoryWindow.h"
#include "win32/FocusedEditor.h"
#include "win32/ListDropTarget.h"
#include "win32/PresentationWindow.h"
#include "win32/Wide.h"
#include "win32/Win32WindowPorts.h"
#include "win32/WindowClass.h"

namespace kivo::win32 {
namespace {

constexpr const wchar_t* kClassName = L"TMainForm";
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
constexpr int kFirstControlId = 10;
// Files dropped on the list wait for this message.
constexpr UINT kDroppedOnList = WM_APP + 1;

// The list and the topic fields pass right clicks to the window, whose
// context menus replace their own; the list lets Tab move the focus on.
LRESULT CALLBACK editorProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (message == WM_CONTEXTMENU) {
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_CONTEXTMENU,
                            reinterpret_cast<WPARAM>(hwnd), lParam);
    }
    if (message == WM_GETDLGCODE) {
        // Tab moves on to the next control; Enter still breaks the line.
        LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
        code &= ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        code |= DLGC_WANTCHARS | DLGC_WANTARROWS;
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

TMainForm::TMainForm(WindowParts parts) : parts_(parts) {
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    registerWindowClass(kClassName, &windowProcedure<TMainForm>, COLOR_BTNFACE);
    if (!parts_.boxes) parts_.boxes = &systemBoxes_;
    if (!parts_.dialogs) parts_.dialogs = &systemDialogs_;
    if (!parts_.urls) parts_.urls = &systemUrls_;
    if (!parts_.settings) parts_.settings = &systemSettings_;

    // The ports first: the window procedure reports through them from the
    // first message on.
    ports_ = std::make_unique<Win32WindowPorts>(*this);
    createWindow();
    systemBoxes_.setOwner(hwnd_);
    systemDialogs_.setOwner(hwnd_);
    help_ = std::make_unique<BrowserHelp>(*ports_);
    createControls();
    printer_ = std::make_unique<SystemPrinter>(*list_);
    printer_->setOwner(hwnd_);
    files_ = std::make_unique<FileCommands>(*ports_, *ports_, *ports_, *ports_);
    topics_ = std::make_unique<TopicCommands>(*ports_, *ports_, *ports_, *ports_, *ports_);
    edits_ = std::make_unique<EditCommands>(*ports_, *ports_);
    helps_ = std::make_unique<HelpCommands>(
        HelpPorts{*ports_, *ports_, *ports_, *ports_, *ports_, *ports_, *ports_});
    presentationView_ = std::make_unique<PresentationWindow>(
        hwnd_, *ports_, [this](CommandId command) { runCommand(command); });
    presentation_ =
        std::make_unique<PresentationCommands>(*topics_, *ports_, *presentationView_, *ports_);
    runner_ = std::make_unique<CommandRunner>(
        WindowCommands{*files_, *topics_, *edits_, *helps_, *presentation_, *ports_}, *ports_);
    history_ = std::make_unique<DrawHistoryWindow>(topics_->drawer(), hwnd_, layout_, *ports_);
    createMenus();
    createStatusBar();
    FormCreate();
    FormAbout = std::make_unique<AboutBox>(hwnd_, FVersionText);
}

TMainForm::~TMainForm() {
    FormAbout.reset();
    history_.reset();
    presentationView_.reset();
    if (shortcuts_) DestroyAcceleratorTable(shortcuts_);
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    for (HMENU menu : {popup1_, popup2_}) DestroyMenu(menu);
}

void TMainForm::createWindow() {
    // The procedure sets hwnd_ at WM_NCCREATE: handlers see their window
    // while it is being made.
    CreateWindowExW(0, kClassName, L"", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 400, 300,
                    nullptr, nullptr, GetModuleHandleW(nullptr), this);
    layout_.attach(hwnd_);
}

void TMainForm::createControls() {
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
                list_ = std::make_unique<MemoControl>(hwnd_, id, [this] { MemoSelectionChange(); });
                hwnd = list_->handle();
                // The list shows no caption; its hint names it.
                list_->setAccessibleName(wide(row.hint));
                listDrops_ = std::make_unique<ListDropTarget>(
                    *list_,
                    [this](const std::vector<std::string>& paths) { filesDroppedOnList(paths); });
                SetWindowSubclass(hwnd, editorProcedure, 1, 0);
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
            case ControlKind::Topic:
                hwnd = make(L"EDIT", row.text, WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY,
                            WS_EX_CLIENTEDGE, id);
                SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.topicFont()),
                             FALSE);
                SetWindowSubclass(hwnd, editorProcedure, 1, 0);
                break;
        }
        controls_[row.name] = hwnd;
        hintLine_.setControlHint(hwnd, row.hint);
        ++id;
    }
    // The group box last: below the controls it frames, and after them in
    // the order of the window's children, which is the tab order.
    // It clips itself to leave the controls over it alone when it is drawn.
    GroupBox1 =
        make(L"BUTTON", kGroupBoxText, BS_GROUPBOX | WS_CLIPSIBLINGS, 0, kFirstControlId - 1);
    controls_["GroupBox1"] = GroupBox1;
    Memo = controls_["Memo"];
    ButtonOK = controls_["ButtonOK"];
    ButtonListClear = controls_["ButtonListClear"];
    Label3 = controls_["Label3"];
    Label1 = controls_["Label1"];
    LabelLineValue = controls_["LabelLineValue"];
    Edit1st = controls_["Edit1st"];
    Edit2nd = controls_["Edit2nd"];
}

HMENU TMainForm::buildMenu(std::span<const MenuItem> items, bool bar) {
    // The menu each depth adds to; a sub-menu opens the next depth.
    std::vector<HMENU> parents{bar ? CreateMenu() : CreatePopupMenu()};
    for (const MenuItem& item : items) {
        parents.resize(static_cast<std::size_t>(item.depth) + 1);
        const HMENU parent = parents.back();
        const std::wstring caption = wide(captionOf(item));
        const std::string hint(hintOf(item));
        switch (item.kind) {
            case MenuKind::SubMenu: {
                const HMENU sub = CreatePopupMenu();
                AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                            caption.c_str());
                hintLine_.setSubMenuHint(sub, hint);
                parents.push_back(sub);
                break;
            }
            case MenuKind::Separator:
                AppendMenuW(parent, MF_SEPARATOR, nextSeparatorId_, nullptr);
                hintLine_.setItemHint(nextSeparatorId_++, hint);
                break;
            case MenuKind::Item:
            case MenuKind::CheckItem: {
                const auto id = static_cast<UINT>(item.command);
                std::wstring shown = caption;
                if (const char* key = shortcutOf(item.command)) shown += L"\t" + wide(key);
                AppendMenuW(parent, MF_STRING, id, shown.c_str());
                hintLine_.setItemHint(id, hint);
                break;
            }
        }
    }
    return parents.front();
}

void TMainForm::createMenus() {
    menuBar_ = buildMenu(mainMenuItems(), true);
    SetMenu(hwnd_, menuBar_);
    CheckMenuItem(menuBar_, static_cast<UINT>(CommandId::NoRepeats),
                  MF_BYCOMMAND | (topics_->noRepeats() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menuBar_, static_cast<UINT>(CommandId::DarkPresentation),
                  MF_BYCOMMAND | (presentation_->darkPresentation() ? MF_CHECKED : MF_UNCHECKED));
    createShortcuts();
    popup1_ = buildMenu(listMenuItems(), false);
    popup2_ = buildMenu(topicMenuItems(), false);
}

void TMainForm::createShortcuts() {
    // Function keys only ("F11"), as the table names them.
    std::vector<ACCEL> keys;
    for (const MenuItem& item : mainMenuItems()) {
        const char* key = shortcutOf(item.command);
        if (!key || key[0] != 'F') continue;
        const int number = std::atoi(key + 1);
        if (number < 1 || number > 24) continue;
        keys.push_back(ACCEL{FVIRTKEY, static_cast<WORD>(VK_F1 + number - 1),
                             static_cast<WORD>(item.command)});
    }
    if (!keys.empty())
        shortcuts_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

bool TMainForm::translateShortcut(MSG& msg) {
    // Only in the main window and its controls; the other windows have
    // keys of their own.
    if (!shortcuts_ || !(msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) return false;
    return TranslateAcceleratorW(hwnd_, shortcuts_, &msg) != 0;
}

void TMainForm::createStatusBar() {
    StatusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                                0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(StatusBar, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.windowFont()), FALSE);
    // One panel; being the last, it reaches to the bar's right edge.
    int right = -1;
    SendMessageW(StatusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    controls_["StatusBar"] = StatusBar;
    hintLine_.attach(hwnd_, StatusBar);
    layout_.sizeToDesign(kWindowStyle);
}

// ---- Start-up ------------------------------------------------------------

void TMainForm::FormCreate() {
    FVersionText = kVersionText;
    kivo::FormCreate(*ports_);
}

void TMainForm::show(int showCommand, const std::vector<std::string>& arguments) {
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
    SetFocus(Memo);
    runner_->guard([this] { FormShow(); });
}

void TMainForm::FormShow() {
    // Files dropped on the window are loaded; those dropped on the list come
    // through its drop target.
    DragAcceptFiles(hwnd_, TRUE);
    if (arguments_.size() >= 2) files_->loadCommandLineFile(arguments_[1]);
}

// ---- Events --------------------------------------------------------------

void TMainForm::runCommand(CommandId command) { runner_->run(command); }

void TMainForm::MemoSelectionChange() {
    // The list tells of its moves from its first message on; the count
    // label is there once the controls are.
    if (LabelLineValue) refreshLineCount(*ports_, *ports_);
}

std::wstring TMainForm::statusText() const {
    const auto length = LOWORD(SendMessageW(StatusBar, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(StatusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

const std::string& TMainForm::currentFile() const { return files_->currentFile(); }

HWND TMainForm::control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

void TMainForm::idle() { hintLine_.idle(); }

void TMainForm::judgeEditCommands(HMENU menu) {
    // The commands are about the edit control that has the focus; with the
    // focus anywhere else they stay as they are.
    const HWND topicFields[] = {Edit1st, Edit2nd};
    const auto state = editStateOf(GetFocus(), *list_, topicFields);
    if (!state) return;
    const EditEnabling enabling = kivo::judgeEditCommands(*state, clipboardHoldsText());
    const std::pair<CommandId, bool> items[] = {{CommandId::Cut, enabling.cut},
                                                {CommandId::Copy, enabling.copy},
                                                {CommandId::Paste, enabling.paste},
                                                {CommandId::SelectAll, enabling.selectAll},
                                                {CommandId::Undo, enabling.undo}};
    for (const auto& [command, enabled] : items) {
        for (HMENU shown : {menu, menuBar_, popup1_}) {
            EnableMenuItem(shown, static_cast<UINT>(command),
                           MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        }
    }
}

void TMainForm::contextMenu(HWND where, LPARAM at) {
    HMENU menu = nullptr;
    if (where == Memo) menu = popup1_;
    if (where == Edit1st || where == Edit2nd) menu = popup2_;
    if (!menu) return;
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: at the control's corner.
        RECT r{};
        GetWindowRect(where, &r);
        point = {r.left + 4, r.top + 4};
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd_, nullptr);
}

void TMainForm::dropFiles(HDROP drop) {
    const std::vector<std::string> paths = droppedPaths(drop);
    DragFinish(drop);
    runner_->guard([&] { files_->WMDropFiles(paths); });
}

void TMainForm::filesDroppedOnList(const std::vector<std::string>& paths) {
    droppedOnList_ = paths;
    PostMessageW(hwnd_, kDroppedOnList, 0, 0);
}

// ---- Messages --------------------------------------------------------------

BoxPort& TMainForm::errorBoxes() { return *ports_; }

LRESULT TMainForm::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const auto id = LOWORD(wParam);
            const auto code = HIWORD(wParam);
            const auto from = reinterpret_cast<HWND>(lParam);
            if (from == Memo && code == SCEN_CHANGE) {
                // Any change to the list's text starts the pool of draws again.
                topics_->listChanged();
            } else if (from == ButtonOK && code == BN_CLICKED) {
                runCommand(CommandId::Draw);
            } else if (from == ButtonListClear && code == BN_CLICKED) {
                runCommand(CommandId::ClearList);
            } else if (!from && id >= static_cast<UINT>(CommandId::New) && id < kFirstSeparatorId) {
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
            if (!paths.empty()) runner_->guard([&] { files_->WMDropFiles(paths); });
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            // Labels and the group box on the window's own colour; the
            // read-only topic fields keep an edit's.
            const auto control = reinterpret_cast<HWND>(lParam);
            if (control == Edit1st || control == Edit2nd) break;
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR:
            if (busy_ > 0 && LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_SIZE:
            layout_.layOut();
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

int TMainForm::runMessageLoop(TMainForm& form) {
    MSG msg;
    for (;;) {
        // The hint follows the pointer whenever nothing else is waiting.
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) form.idle();
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) return got == 0 ? static_cast<int>(msg.wParam) : 1;
        if (form.translateShortcut(msg)) continue;
        if (IsDialogMessageW(form.handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace kivo::win32
