// The Win32 window in this process, on a real (virtual) display: its
// layout, the list (Scintilla's control), menus and their hints, the
// printed pages, and the system boxes,
// dialogs and About box driven as a user would.
#include <windows.h>
// After windows.h, which they build on.
#include <Scintilla.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "commands/Session.h"
#include "commands/ShareCommands.h"
#include "commands/WindowLayout.h"
#include "core/CodePage932.h"
#include "core/Titles.h"
#include "win32/AboutBox.h"
#include "win32/ListDropTarget.h"
#include "win32/ListPrinting.h"
#include "win32/MainWindow.h"
#include "win32/MemoControl.h"
#include "win32/PresentationWindow.h"
#include "win32/RegistrySettings.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

// Boxes and dialogs answered from a script, recording what they showed.
struct ScriptedParts : Boxes, FileDialogPort, UrlPort, SettingsStore {
    std::vector<std::string> shown;
    std::deque<BoxAnswer> answers;
    std::deque<std::optional<std::string>> paths;

    BoxAnswer confirm(const std::string& text) override {
        shown.push_back("confirm: " + text);
        return next();
    }
    void warning(const std::string& text) override { shown.push_back("warning: " + text); }
    void message(const std::string& text) override { shown.push_back("message: " + text); }
    bool askYesNo(const std::string&, const std::string& text) override {
        shown.push_back("ask: " + text);
        return next() == BoxAnswer::Yes;
    }
    void error(const std::string& text) override { shown.push_back("error: " + text); }
    std::optional<std::string> openFile(const DialogSettings& s) override { return path(s); }
    std::optional<std::string> saveFile(const DialogSettings& s) override { return path(s); }
    void openUrl(const std::string& url) override { shown.push_back("url: " + url); }
    std::optional<bool> readBool(const std::string&) override { return std::nullopt; }
    void writeBool(const std::string&, bool) override {}
    std::map<std::string, std::string> strings;
    std::optional<std::string> readString(const std::string& key) override {
        const auto kept = strings.find(key);
        if (kept == strings.end()) return std::nullopt;
        return kept->second;
    }
    void writeString(const std::string& key, const std::string& value) override {
        strings[key] = value;
    }

    BoxAnswer next() {
        if (answers.empty()) return BoxAnswer::Cancel;
        const BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> path(const DialogSettings& s) {
        shown.push_back("dialog: " + s.filter);
        if (paths.empty()) return std::nullopt;
        auto p = paths.front();
        paths.pop_front();
        return p;
    }
};

std::wstring textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// What a screen reader names a window's client area by.
std::wstring accessibleName(HWND hwnd) {
    IAccessible* accessible = nullptr;
    if (AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, IID_IAccessible,
                                   reinterpret_cast<void**>(&accessible)) != S_OK) {
        return L"(no object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text = L"(no name)";
    if (accessible->get_accName(self, &name) == S_OK && name) text = name;
    SysFreeString(name);
    accessible->Release();
    return text;
}

std::wstring menuText(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

RECT boundsInClient(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Keys as the keyboard sends them: Enter as its key, the rest as characters.
void type(HWND control, const std::wstring& keys) {
    SetFocus(control);
    for (wchar_t c : keys) {
        if (c == L'\r') {
            SendMessageW(control, WM_KEYDOWN, VK_RETURN, 0);
            SendMessageW(control, WM_KEYUP, VK_RETURN, 0);
        } else {
            SendMessageW(control, WM_CHAR, c, 0);
        }
    }
}

// While `run` sits in a system box's or dialog's own message loop, finds
// that window (a dialog of this thread) and hands it to `act`, which must
// close it.
HWND g_found = nullptr;
std::function<void(HWND)> g_act;
int g_ticks = 0;
BOOL CALLBACK findDialog(HWND hwnd, LPARAM) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (IsWindowVisible(hwnd) && std::wstring(cls) == L"#32770") {
        g_found = hwnd;
        return FALSE;
    }
    return TRUE;
}
void CALLBACK onTick(HWND, UINT, UINT_PTR timer, DWORD) {
    g_found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, 0);
    if (g_found && g_act) {
        auto act = std::move(g_act);
        g_act = nullptr;
        KillTimer(nullptr, timer);
        act(g_found);
    } else if (++g_ticks > 200) {
        KillTimer(nullptr, timer);
    }
}
void whileDialogOpen(const std::function<void()>& run, std::function<void(HWND)> act) {
    g_act = std::move(act);
    g_ticks = 0;
    SetTimer(nullptr, 0, 50, onTick);
    run();
    g_act = nullptr;
}

std::wstring dialogText(HWND box) {
    // A message box's text is its static control 0xFFFF.
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return text;
}

class Win32WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_.emplace(WindowParts{&parts_, &parts_, &parts_, &parts_});
        ShowWindow(form_->handle(), SW_SHOWNORMAL);
        pump();
    }
    void TearDown() override {
        form_.reset();
        pump();
    }
    HWND control(const char* name) { return form_->control(name); }
    HWND memo() { return control("Memo"); }
    MemoControl& list() { return form_->list(); }
    std::intptr_t length() { return list().send(SCI_GETLENGTH); }
    void command(CommandId id) {
        SendMessageW(form_->handle(), WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
    std::filesystem::path temp(const std::wstring& name) {
        return std::filesystem::temp_directory_path() / name;
    }

    ScriptedParts parts_;
    std::optional<MainWindow> form_;
};

TEST_F(Win32WindowTest, ShowsTheLayoutTableWithItsTextsAnchorsAndMenus) {
    EXPECT_EQ(textOf(form_->handle()), wide(kInitialCaption));
    EXPECT_EQ(textOf(control("ButtonOK")), L"お題の選出");
    EXPECT_EQ(textOf(control("GroupBox1")), L" 単語リスト ");
    EXPECT_EQ(textOf(control("LabelLineValue")), L"0");
    RECT client{};
    GetClientRect(form_->handle(), &client);
    EXPECT_EQ(client.right, kClientWidth);
    EXPECT_EQ(client.bottom, kClientHeight);
    const RECT ok = boundsInClient(control("ButtonOK"));
    EXPECT_EQ(ok.left, 4 + 232);
    EXPECT_EQ(ok.top, 8 + 29);
    EXPECT_EQ(ok.right - ok.left, 145);
    const RECT memoBefore = boundsInClient(memo());
    const RECT topicBefore = boundsInClient(control("Edit1st"));

    // Wider and taller: the list grows down, the topics follow the bottom
    // and right edges, the button stays.
    RECT frame{};
    GetWindowRect(form_->handle(), &frame);
    SetWindowPos(form_->handle(), nullptr, 0, 0, frame.right - frame.left + 100,
                 frame.bottom - frame.top + 50, SWP_NOMOVE | SWP_NOZORDER);
    const RECT memoAfter = boundsInClient(memo());
    const RECT topicAfter = boundsInClient(control("Edit1st"));
    EXPECT_EQ(memoAfter.bottom - memoBefore.bottom, 50);
    EXPECT_EQ(memoAfter.right, memoBefore.right);
    EXPECT_EQ(topicAfter.top - topicBefore.top, 50);
    EXPECT_EQ(topicAfter.right - topicBefore.right, 100);
    EXPECT_EQ(boundsInClient(control("ButtonOK")).left, ok.left);

    const HMENU bar = form_->mainMenu();
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    EXPECT_EQ(menuText(bar, 0), L"ファイル(&F)");
    EXPECT_EQ(menuText(bar, 3), L"ヘルプ(&H)");
    const HMENU edit = GetSubMenu(bar, 1);
    EXPECT_EQ(menuText(edit, 3), L"切り取り(&X)");  // from the edit command
    EXPECT_EQ(menuText(edit, 6), L"全て選択(&A)");  // its own caption
    EXPECT_EQ(menuText(form_->popupMenu1(), 0), L"単語リストのクリア(&L)");
    EXPECT_EQ(menuText(form_->popupMenu2(), 0), L"お題リストのクリア(&C)");
}

// The view's real keys: F11 through the main window's shortcut, Space and
// Esc in the view. Its caption puts the pair the topic boxes show on one
// line, for the task bar; a screen reader names it by the pair, a line each.
TEST_F(Win32WindowTest, PresentationViewOpensOnF11DrawsOnSpaceAndClosesOnEscape) {
    type(memo(), L"いぬ\rねこ\rとり\r");
    MSG f11{memo(), WM_KEYDOWN, VK_F11, 0, 0, {}};
    ASSERT_TRUE(form_->translateShortcut(f11));
    pump();
    PresentationWindow& view = form_->presentationView();
    ASSERT_TRUE(view.presentationOpen());
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(form_->handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT bounds{};
    GetWindowRect(view.handle(), &bounds);
    EXPECT_TRUE(EqualRect(&bounds, &monitor.rcMonitor));

    SendMessageW(view.handle(), WM_KEYDOWN, VK_SPACE, 0);
    const std::wstring first = textOf(control("Edit1st")), second = textOf(control("Edit2nd"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(textOf(view.handle()), first.substr(1) + L" × " + second.substr(1) + L" - Kivo");
    EXPECT_EQ(accessibleName(view.handle()), first.substr(1) + L"\n" + second.substr(1));
    EXPECT_EQ(view.presentationLayout().lines.size(), 2u);
    SendMessageW(view.handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(view.presentationOpen());
}

// Three boxes, each under its section's heading; the rules of the draw are
// the commands'.
TEST_F(Win32WindowTest, ThreeTopicsByHeadingShowInTheirOwnBoxesUnderTheirHeadings) {
    EXPECT_FALSE(IsWindowVisible(control("Edit3rd")));
    command(CommandId::ThreeTopics);
    command(CommandId::ByHeading);
    EXPECT_EQ(
        GetMenuState(form_->mainMenu(), static_cast<UINT>(CommandId::ThreeTopics), MF_BYCOMMAND) &
            MF_CHECKED,
        static_cast<UINT>(MF_CHECKED));
    RECT client{};
    GetClientRect(form_->handle(), &client);
    EXPECT_EQ(client.bottom, kClientHeight + 3 * 48 - 68);

    list().setLines({"【人物】", "騎士", "【場所】", "駅", "【もの】", "鍵"});
    pump();
    EXPECT_EQ(textOf(control("LabelLineValue")), L"3（3見出し）");
    SendMessageW(form_->handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control("ButtonOK")));
    const char* boxes[] = {"Edit1st", "Edit2nd", "Edit3rd"};
    const char* headings[] = {"LabelHeading1", "LabelHeading2", "LabelHeading3"};
    const wchar_t* words[] = {L" 騎士", L" 駅", L" 鍵"};
    const wchar_t* names[] = {L"【人物】", L"【場所】", L"【もの】"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(IsWindowVisible(control(boxes[k])));
        EXPECT_EQ(textOf(control(boxes[k])), words[k]);
        EXPECT_EQ(textOf(control(headings[k])), names[k]);
        // Each heading right above its box, clear of the box above.
        const RECT heading = boundsInClient(control(headings[k]));
        EXPECT_EQ(heading.bottom + 2, boundsInClient(control(boxes[k])).top);
        if (k > 0) {
            EXPECT_GE(heading.top, boundsInClient(control(boxes[k - 1])).bottom);
        }
    }
    MSG f11{memo(), WM_KEYDOWN, VK_F11, 0, 0, {}};
    ASSERT_TRUE(form_->translateShortcut(f11));
    pump();
    PresentationWindow& view = form_->presentationView();
    EXPECT_EQ(accessibleName(view.handle()), L"【人物】騎士\n【場所】駅\n【もの】鍵");
    EXPECT_EQ(view.presentationLayout().lines.size(), 6u);
    SendMessageW(view.handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    if (const wchar_t* hold = _wgetenv(L"KIVO_HOLD_MS")) {
        // Time to look at the window from outside.
        const DWORD until = GetTickCount() + static_cast<DWORD>(_wtoi(hold));
        while (GetTickCount() < until) pump();
    }

    command(CommandId::TwoTopics);
    command(CommandId::ByHeading);
    GetClientRect(form_->handle(), &client);
    EXPECT_EQ(client.bottom, kClientHeight);
    EXPECT_FALSE(IsWindowVisible(control("Edit3rd")));
}

// Enter, Esc and Space close the About box as a click does; another key
// leaves it up. Each key comes while the box runs its own loop, and a note
// after it finds the box still up or not.
TEST_F(Win32WindowTest, TheAboutBoxClosesOnEnterEscAndSpace) {
    static bool leftUp = false;
    const HWND about = form_->about().handle();
    SetWindowSubclass(
        about,
        [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) -> LRESULT {
            if (message == WM_USER + 1) {
                leftUp = IsWindowVisible(hwnd);
                if (leftUp) SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
                return 0;
            }
            return DefSubclassProc(hwnd, message, wParam, lParam);
        },
        1, 0);
    for (const WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}, WPARAM{VK_SPACE}, WPARAM{'A'}}) {
        PostMessageW(about, WM_KEYDOWN, key, 0);
        PostMessageW(about, WM_USER + 1, 0, 0);
        form_->runCommand(CommandId::About);
        pump();
        EXPECT_EQ(leftUp, key == 'A') << "key " << key;
        EXPECT_FALSE(IsWindowVisible(about));
    }
    // Closed as a window (Alt+F4), it hides too, kept for the next showing.
    PostMessageW(about, WM_CLOSE, 0, 0);
    PostMessageW(about, WM_USER + 1, 0, 0);
    form_->runCommand(CommandId::About);
    pump();
    EXPECT_FALSE(leftUp);
    EXPECT_TRUE(IsWindow(about));
    EXPECT_TRUE(IsWindowEnabled(form_->handle()));
}

TEST_F(Win32WindowTest, TypedLinesAreCountedAndTheEditCommandsActOnThem) {
    type(memo(), L"いぬ\rねこ\r\rとり\u2028\x0b");
    // A last empty line is no entry; empty lines before it are. A character
    // shown as a new line is one; a control key leaves nothing behind.
    EXPECT_EQ(list().send(SCI_GETLINECOUNT), 5);
    EXPECT_EQ(textOf(control("LabelLineValue")), L"4");
    EXPECT_TRUE(list().isModified());

    // A screen reader names the list by its hint and reads the caret's line.
    IAccessible* accessible = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(memo(), OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&accessible)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, value = nullptr;
    ASSERT_EQ(accessible->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name), L"単語リスト");
    list().selectRange(3, 3);
    ASSERT_EQ(accessible->get_accValue(self, &value), S_OK);
    EXPECT_EQ(std::wstring(value), L"ねこ");
    SysFreeString(name);
    SysFreeString(value);
    accessible->Release();

    // The edit commands follow the focused list as a menu opens.
    list().selectRange(0, 0);
    SendMessageW(form_->handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(form_->popupMenu1()),
                 0);
    EXPECT_TRUE(GetMenuState(form_->popupMenu1(), static_cast<UINT>(CommandId::Cut), MF_BYCOMMAND) &
                MF_GRAYED);
    command(CommandId::SelectAll);
    SendMessageW(form_->handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(form_->popupMenu1()),
                 0);
    EXPECT_FALSE(
        GetMenuState(form_->popupMenu1(), static_cast<UINT>(CommandId::Cut), MF_BYCOMMAND) &
        MF_GRAYED);

    command(CommandId::Cut);
    EXPECT_EQ(length(), 0);
    EXPECT_EQ(textOf(control("LabelLineValue")), L"0");
    command(CommandId::Undo);
    EXPECT_EQ(list().text(), "いぬ\nねこ\n\nとり\n");
    // What was cut is on the clipboard as Windows' programs read it.
    EXPECT_EQ(MemoControl::clipboardUtf8(), "いぬ\nねこ\n\nとり\n");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(
        std::wstring(static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)))),
        L"いぬ\r\nねこ\r\n\r\nとり\r\n");
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();

    // Two entries drawn, through the button as a click sends it (an empty
    // line drawn would only earn a message).
    list().setLines({"いぬ", "ねこ", "とり"});
    SendMessageW(form_->handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control("ButtonOK")));
    const std::wstring first = textOf(control("Edit1st"));
    const std::wstring second = textOf(control("Edit2nd"));
    EXPECT_FALSE(first.empty());
    EXPECT_FALSE(second.empty());
    EXPECT_NE(first, second);
    command(CommandId::ClearTopics);
    EXPECT_EQ(textOf(control("Edit1st")), L"");

    // The history window shows the draw, saves it as CSV through the main
    // window's command and clears it, each from its own button.
    command(CommandId::DrawHistory);
    const HWND history = FindWindowW(L"TFormDrawHistory", nullptr);
    ASSERT_NE(history, nullptr);
    EXPECT_NE(textOf(GetDlgItem(history, 1)).find(first.substr(1)), std::wstring::npos);
    const HWND csvButton = GetDlgItem(history, 5);
    EXPECT_EQ(textOf(csvButton), wide(kDrawHistoryCsvCaption));
    EXPECT_TRUE(IsWindowEnabled(csvButton));
    const auto csv = temp(L"kivo-win32-history.csv");
    parts_.paths = {utf8(csv.wstring())};
    SendMessageW(history, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), 0);
    {
        std::ifstream in(csv, std::ios::binary);
        const std::string saved(std::istreambuf_iterator<char>(in), {});
        EXPECT_NE(saved.find(utf8(first.substr(1))), std::string::npos) << saved;
    }
    std::filesystem::remove(csv);
    SendMessageW(history, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), 0);
    EXPECT_EQ(textOf(GetDlgItem(history, 1)), L"");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(history, 2)));
    EXPECT_FALSE(IsWindowEnabled(csvButton));

    // An open history window is written once per draw.
    static int writes = 0;
    const SUBCLASSPROC countWrites = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR) -> LRESULT {
        if (message == WM_SETTEXT) ++writes;
        return DefSubclassProc(hwnd, message, wParam, lParam);
    };
    SetWindowSubclass(GetDlgItem(history, 1), countWrites, 1, 0);
    SendMessageW(form_->handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control("ButtonOK")));
    EXPECT_EQ(writes, 1);
    RemoveWindowSubclass(GetDlgItem(history, 1), countWrites, 1);
}

TEST_F(Win32WindowTest, FileCommandsSaveAndLoadThroughTheListInCodePage932) {
    const auto file = temp(L"kivo-win32-動物.txt");
    std::filesystem::remove(file);
    type(memo(), L"犬\r表\r");
    parts_.paths = {utf8(file.wstring())};
    command(CommandId::ExportText);
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(bytes, cp932::encode("犬\r\n表\r\n"));
    EXPECT_EQ(textOf(form_->handle()), L"kivo-win32-動物.txt  >>>  Kivo version 1.33");

    // Saved, so a new list asks nothing.
    command(CommandId::New);
    EXPECT_EQ(length(), 0);
    EXPECT_EQ(textOf(form_->handle()), wide(kInitialCaption));
    parts_.paths = {utf8(file.wstring())};
    command(CommandId::NewImportText);
    EXPECT_EQ(textOf(control("LabelLineValue")), L"2");
    EXPECT_FALSE(list().isModified());

    // A file dropped on the window loads as the shell hands it over.
    command(CommandId::ClearList);
    const std::wstring path = file.wstring();
    const HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    path.copy(reinterpret_cast<wchar_t*>(files + 1), path.size());
    GlobalUnlock(drop);
    SendMessageW(form_->handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(textOf(control("LabelLineValue")), L"2");

    // A missing file ends the command in the error box.
    parts_.paths = {utf8(temp(L"kivo-no-such-file.txt").wstring())};
    command(CommandId::NewImportText);
    ASSERT_FALSE(parts_.shown.empty());
    EXPECT_EQ(parts_.shown.back().rfind("error: ", 0), 0u) << parts_.shown.back();
    std::filesystem::remove(file);
}

// What is dragged onto the list, as OLE hands it over: files go to the
// window, text goes in where it is dropped.
TEST_F(Win32WindowTest, FilesDraggedOntoTheListAreTheWindowsAndTextGoesIn) {
    const auto offer = [](UINT format, const void* bytes, std::size_t size) {
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 4);
        std::memcpy(GlobalLock(memory), bytes, size);
        GlobalUnlock(memory);
        EXPECT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(format, memory);
        CloseClipboard();
        IDataObject* data = nullptr;
        EXPECT_EQ(OleGetClipboard(&data), S_OK);
        return data;
    };
    std::vector<std::string> dropped;
    ListDropTarget target(list(), [&](const std::vector<std::string>& paths) { dropped = paths; });

    const std::wstring path = L"C:\\リスト.txt";
    std::vector<char> files(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t), 0);
    auto* header = reinterpret_cast<DROPFILES*>(files.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(files.data() + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
    IDataObject* data = offer(CF_HDROP, files.data(), files.size());
    RECT r{};
    GetWindowRect(memo(), &r);
    const POINTL at{r.left + 10, r.top + 10};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(target.DragEnter(data, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    target.Drop(data, 0, at, &effect);
    data->Release();
    EXPECT_EQ(dropped, std::vector<std::string>{"C:\\リスト.txt"});
    EXPECT_EQ(length(), 0);

    const std::wstring text = L"いぬ\r\nねこ";
    data = offer(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    effect = DROPEFFECT_COPY;
    target.DragEnter(data, 0, at, &effect);
    target.Drop(data, 0, at, &effect);
    data->Release();
    EXPECT_EQ(list().text(), "いぬ\nねこ");
    EXPECT_EQ(textOf(control("LabelLineValue")), L"2");
}

TEST_F(Win32WindowTest, TenMebibytesOfLineBreaksOnTheCommandLineAreRefusedAtOnce) {
    const auto file = temp(L"kivo-win32-breaks.txt");
    std::ofstream(file, std::ios::binary) << std::string(10u << 20, '\n');
    form_->show(SW_SHOWNORMAL, {"kivo.exe", utf8(file.wstring())});
    std::filesystem::remove(file);
    ASSERT_FALSE(parts_.shown.empty());
    EXPECT_EQ(parts_.shown.back(), "error: メモリが不足しています.");
    EXPECT_EQ(length(), 0);

    // The same on the clipboard: the list's own paste runs the command,
    // which refuses it before it goes in.
    const std::wstring breaks(8'000'000, L'\n');
    ASSERT_TRUE(OpenClipboard(form_->handle()));
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (breaks.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), breaks.c_str(), (breaks.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    parts_.shown.clear();
    SendMessageW(memo(), WM_PASTE, 0, 0);
    EXPECT_EQ(parts_.shown, std::vector<std::string>{"error: メモリが不足しています."});
    EXPECT_EQ(length(), 0);
}

TEST_F(Win32WindowTest, MenuHighlightsAndThePointerWriteTheHintLine) {
    const HMENU file = GetSubMenu(form_->mainMenu(), 0);
    SendMessageW(form_->handle(), WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE),
                 reinterpret_cast<LPARAM>(form_->mainMenu()));
    EXPECT_EQ(form_->statusText(), L"語句リストとお題リストをクリアします");
    SendMessageW(form_->handle(), WM_MENUSELECT, MAKEWPARAM(CommandId::Print, MF_HILITE),
                 reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(form_->statusText(), L"単語リストを印刷します");
    SendMessageW(form_->handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(form_->statusText(), L"");

    RECT r{};
    GetWindowRect(control("LabelLineValue"), &r);
    SetCursorPos(r.left + 2, r.top + 4);
    form_->idle();
    EXPECT_EQ(form_->statusText(), L"単語の総数です");
    GetWindowRect(control("Label3"), &r);
    SetCursorPos(r.left + 4, r.top + 4);
    form_->idle();
    EXPECT_EQ(form_->statusText(), L"");
}

TEST_F(Win32WindowTest, FormatsGoInAsTheEditorsStylesAndComeBackAsTheyWent) {
    StyledText text{"太字\nふつう\n", {}};
    TextStyle bold;
    bold.bold = true;
    addStyledRange(text.ranges, 0, 2, bold);
    list().loadWholeText(text);
    EXPECT_EQ(list().count(), 2u);
    EXPECT_EQ(list().line(1), "ふつう");
    EXPECT_TRUE(list().styleAt(1).bold);
    EXPECT_FALSE(list().styleAt(3).bold);
    const StyledText back = list().styledText();
    EXPECT_EQ(back.text, text.text);
    ASSERT_EQ(back.ranges.size(), 1u);
    EXPECT_EQ(back.ranges[0].start, 0u);
    EXPECT_EQ(back.ranges[0].length, 2u);
    EXPECT_TRUE(back.ranges[0].style->bold);

    // A line is read as at most 4096 bytes of code page 932, whole characters.
    list().setLines({std::string(4095, 'a') + "犬"});
    EXPECT_EQ(list().line(0), std::string(4095, 'a'));
}

TEST_F(Win32WindowTest, TheCountLabelShowsTheWholeCountInsideTheGroupBox) {
    const HWND value = control("LabelLineValue");
    const auto extentOf = [&](const std::wstring& text) {
        const HDC dc = GetDC(value);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(value, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(value, dc);
        return extent.cx;
    };
    // The largest count a list can reach, placed as any count is.
    SetWindowTextW(value, L"2147483647");
    SendMessageW(form_->handle(), WM_SIZE, 0, 0);
    RECT shown = boundsInClient(value);
    EXPECT_GE(shown.right - shown.left, extentOf(L"2147483647"));
    EXPECT_LE(shown.right, boundsInClient(control("GroupBox1")).right - 2);
    EXPECT_LE(boundsInClient(control("Label1")).right, shown.left);

    // A million lines loaded: on the screen, the first digit and the last
    // are drawn, not left under a neighbour's old place or the frame.
    list().loadWholeText({std::string(1'000'000, '\n'), {}});
    ASSERT_EQ(textOf(value), L"1000000");
    UpdateWindow(form_->handle());
    pump();
    RECT screen{};
    GetWindowRect(value, &screen);
    const LONG digit = extentOf(L"0");
    const auto inkBetween = [&](LONG from, LONG to) {
        const HDC desktop = GetDC(nullptr);
        int ink = 0;
        for (LONG x = from; x < to; ++x) {
            for (LONG y = screen.top; y < screen.bottom; ++y) {
                ink += GetRValue(GetPixel(desktop, x, y)) < 96;
            }
        }
        ReleaseDC(nullptr, desktop);
        return ink;
    };
    EXPECT_GT(inkBetween(screen.left, screen.left + digit), 0);
    EXPECT_GT(inkBetween(screen.right - digit, screen.right), 0);
}

TEST_F(Win32WindowTest, PagesAreLaidOutWithEveryCharacterAndLongLinesWrapped) {
    std::vector<std::string> lines(300, "ことば");
    lines[10] = std::string(3000, 'x');
    list().setLines(lines);
    const HDC device = CreateCompatibleDC(nullptr);
    const HBITMAP paper = CreateCompatibleBitmap(device, 794, 1123);
    const HGDIOBJ old = SelectObject(device, paper);
    const RECT a4{0, 0, 794, 1123};  // pixels at 96 dpi
    int started = 0, ended = 0;
    const PageLayout pages = layOutPages(
        list(), device, a4, true, [&] { return ++started > 0; }, [&] { return ++ended > 0; });
    EXPECT_GE(pages.pages, 2);
    EXPECT_EQ(started, pages.pages);
    EXPECT_EQ(ended, pages.pages);
    EXPECT_EQ(pages.laidOut, pages.length);

    // A page two lines high takes the long line alone over many pages: it
    // wraps rather than running off the side.
    list().setLines({std::string(3000, 'x')});
    const PageLayout narrow = layOutPages(list(), device, RECT{0, 0, 794, 40}, false);
    EXPECT_GT(narrow.pages, 3);
    EXPECT_EQ(narrow.laidOut, narrow.length);
    // An empty list is one empty page.
    list().clearList();
    EXPECT_EQ(layOutPages(list(), device, a4, false).pages, 1);
    SelectObject(device, old);
    DeleteObject(paper);
    DeleteDC(device);
}

TEST(Win32SystemBoxes, TheRealBoxesAndDialogsShowAndAnswer) {
    ScriptedParts others;
    // The system's own boxes and dialogs.
    MainWindow form(WindowParts{nullptr, nullptr, &others, &others});
    ShowWindow(form.handle(), SW_SHOWNORMAL);
    type(form.control("Memo"), L"いぬ\r");

    // New with a modified list: the confirmation box; キャンセル keeps all.
    std::wstring caption, text;
    whileDialogOpen([&] { form.runCommand(CommandId::New); },
                    [&](HWND box) {
                        caption = textOf(box);
                        text = dialogText(box);
                        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                    });
    EXPECT_EQ(caption, L"確認");
    EXPECT_EQ(text, L"現在の単語リストを保存しますか？");
    EXPECT_GT(GetWindowTextLengthW(form.control("Memo")), 0);

    // The open dialog, cancelled: nothing loaded, the count refreshed.
    bool dialogSeen = false;
    whileDialogOpen([&] { form.runCommand(CommandId::AddImportText); },
                    [&](HWND dialog) {
                        dialogSeen = true;
                        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                    });
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(textOf(form.control("LabelLineValue")), L"1");

    // The About box: top-most, borderless, closed by a click. The click
    // comes while the box runs its own loop.
    static bool shown = false, topMost = false;
    const HWND about = form.about().handle();
    SetWindowSubclass(
        about,
        [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) -> LRESULT {
            if (message == WM_USER + 1) {
                shown = IsWindowVisible(hwnd);
                topMost = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
                return 0;
            }
            return DefSubclassProc(hwnd, message, wParam, lParam);
        },
        1, 0);
    PostMessageW(about, WM_USER + 1, 0, 0);
    form.runCommand(CommandId::About);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(topMost);
    EXPECT_FALSE(IsWindowVisible(about));
    RECT r{};
    GetWindowRect(about, &r);
    EXPECT_EQ(r.right - r.left, kAboutWidth);
    EXPECT_EQ(r.bottom - r.top, kAboutHeight);

    // The share dialog: a hashtag typed in the field after its label, OK.
    std::wstring shareCaption;
    whileDialogOpen([&] { form.runCommand(CommandId::ShareDialog); },
                    [&](HWND dialog) {
                        shareCaption = textOf(dialog);
                        const HWND label =
                            FindWindowExW(dialog, nullptr, L"Static", L"ハッシュタグ(&H)：");
                        SetWindowTextW(GetWindow(label, GW_HWNDNEXT), L"#ワンドロ");
                        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                    });
    EXPECT_EQ(shareCaption, L"配信用ファイルとコピーの設定");
    EXPECT_EQ(others.strings[kShareHashtagSetting], "#ワンドロ");

    // Ctrl+Shift+C, as the menu shows it, copies the topics as a line to
    // post, the hashtag on the next line after the system's line break.
    wchar_t item[64] = {};
    GetMenuStringW(form.mainMenu(), static_cast<UINT>(CommandId::CopyTopics), item, 64,
                   MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(item), L"お題をコピー(&T)\tCtrl+Shift+C");
    form.list().setLines({"いぬ", "ねこ"});
    form.runCommand(CommandId::Draw);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    MSG copy{form.control("Memo"), WM_KEYDOWN, 'C', 0, 0, {}};
    const bool copied = form.translateShortcut(copy);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(copied);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(
        std::wstring(static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)))),
        L"お題：" + textOf(form.control("Edit1st")).substr(1) + L" × " +
            textOf(form.control("Edit2nd")).substr(1) + L"\r\n#ワンドロ");
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();

    // The countdown's own length: a number out of its range keeps the box
    // up; one in it is taken, and its item checked.
    bool keptUp = false;
    whileDialogOpen([&] { form.runCommand(CommandId::TimerOwnLength); },
                    [&](HWND dialog) {
                        const HWND field = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
                        SetWindowTextW(field, L"0");
                        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                        keptUp = IsWindowVisible(dialog);
                        SetWindowTextW(field, L"7");
                        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                    });
    EXPECT_TRUE(keptUp);
    EXPECT_EQ(form.session().timer().minutes(), 7);
    EXPECT_TRUE(
        GetMenuState(form.mainMenu(), static_cast<UINT>(CommandId::TimerOwnLength), MF_BYCOMMAND) &
        MF_CHECKED);
}

// Text kept in the registry comes back byte for byte, Japanese included.
TEST(Win32Registry, TextComesBackAsItWasWritten) {
    RegistrySettings settings;
    const std::string key = "Test/Text";
    settings.writeString(key, "お題：#ワンドロ × ");
    EXPECT_EQ(settings.readString(key), "お題：#ワンドロ × ");
    settings.writeString(key, "");
    EXPECT_EQ(settings.readString(key), "");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Quillery\\Kivo", wide(key).c_str());
    EXPECT_EQ(settings.readString(key), std::nullopt);
}

// A clock whose minute passes in three of the system's seconds. It wakes
// through the window's own timer, as soon in its own time, and tells
// whether it is still asked to.
struct FastClock : CountdownClockPort {
    static constexpr std::int64_t kSpeed = 20;
    CountdownTimer* timer = nullptr;
    bool waking = false;
    int wakes = 0;
    std::int64_t milliseconds() override {
        LARGE_INTEGER now{}, rate{};
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&rate);
        return now.QuadPart / (rate.QuadPart / 1000) * kSpeed;
    }
    void wakeAfter(int ms) override {
        waking = true;
        ++wakes;
        if (timer) timer->wakeAfter(static_cast<int>((ms + kSpeed - 1) / kSpeed));
    }
    void stopWaking() override {
        waking = false;
        if (timer) timer->stopWaking();
    }
};

// Names the view's accessible name was changed to, as a screen reader
// hears of them.
std::vector<std::wstring> g_names;
void CALLBACK nameChanged(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) g_names.push_back(accessibleName(hwnd));
}

// A minute's countdown in the view, a window of its own: T starts and
// pauses it, it runs to zero through the window's timer, turns red, flashes,
// and says so to a screen reader; then nothing wakes it any more.
TEST(Win32Countdown, RunsToZeroInTheViewFlashesAndIsToldToAScreenReader) {
    ScriptedParts parts;
    FastClock clock;
    MainWindow form(WindowParts{&parts, &parts, &parts, &parts, nullptr, &clock});
    clock.timer = &form.countdownTimer();
    ShowWindow(form.handle(), SW_SHOWNORMAL);
    form.list().setLines({"いぬ", "ねこ", "とり"});
    SendMessageW(form.handle(), WM_COMMAND, static_cast<WPARAM>(CommandId::Timer1Minute), 0);
    const auto checked = [&](CommandId id) {
        return (GetMenuState(form.mainMenu(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) !=
               0;
    };
    EXPECT_TRUE(checked(CommandId::Timer1Minute));
    EXPECT_FALSE(checked(CommandId::TimerOff));

    form.runCommand(CommandId::Present);
    PresentationWindow& view = form.presentationView();
    const HWND shown = view.handle();
    SendMessageW(shown, WM_SYSKEYDOWN, VK_RETURN, 0);
    SendMessageW(shown, WM_KEYDOWN, VK_SPACE, 0);
    pump();
    ASSERT_TRUE(view.presentationLayout().countdown);
    EXPECT_EQ(view.presentationLayout().countdown->text, "1:00");

    bool sawDark = false;
    const auto pumpUntil = [&](const std::function<bool()>& done, int ms) {
        const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(ms);
        while (!done() && GetTickCount64() < until) {
            MSG msg;
            if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                sawDark = sawDark || !view.countdownFace().shown;
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            }
        }
    };
    const auto seconds = [&] {
        const std::string& text = view.countdownFace().text;
        return std::stoi(text) * 60 + std::stoi(text.substr(text.find(':') + 1));
    };
    SendMessageW(shown, WM_KEYDOWN, 'T', 0);
    pumpUntil([&] { return seconds() <= 42; }, 10000);
    SendMessageW(shown, WM_KEYDOWN, 'T', 0);
    const std::string paused = view.countdownFace().text;
    pumpUntil([] { return false; }, 300);
    EXPECT_EQ(view.countdownFace().text, paused);
    EXPECT_FALSE(clock.waking);
    if (const wchar_t* hold = _wgetenv(L"KIVO_HOLD_MS")) {
        // Time to look at the view from outside, light and then dark.
        pumpUntil([] { return false; }, _wtoi(hold));
        form.runCommand(CommandId::DarkPresentation);
        pumpUntil([] { return false; }, _wtoi(hold));
        form.runCommand(CommandId::DarkPresentation);
    }

    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, nameChanged,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    g_names.clear();
    SendMessageW(shown, WM_KEYDOWN, 'T', 0);
    pumpUntil([&] { return view.countdownFace().text == "0:00" && !clock.waking; }, 15000);
    const int wakes = clock.wakes;
    pumpUntil([] { return false; }, 300);
    UnhookWinEvent(hook);
    EXPECT_FALSE(clock.waking);
    EXPECT_EQ(clock.wakes, wakes);

    const PresentationLayout& layout = view.presentationLayout();
    ASSERT_TRUE(layout.countdown);
    EXPECT_EQ(layout.countdown->text, "0:00");
    EXPECT_GT(layout.countdown->top, layout.lines.back().top);
    EXPECT_TRUE(view.countdownFace().warning);
    EXPECT_TRUE(view.countdownFace().shown);
    EXPECT_TRUE(sawDark);
    const std::wstring name = textOf(form.control("Edit1st")).substr(1) + L"\n" +
                              textOf(form.control("Edit2nd")).substr(1) + L"\n時間です";
    EXPECT_EQ(accessibleName(shown), name);
    EXPECT_NE(std::find(g_names.begin(), g_names.end(), name), g_names.end());

    // Painted in the warning red of the light theme.
    UpdateWindow(shown);
    const PresentationLine& line = *layout.countdown;
    const int width = 960, height = line.top + line.height;
    const HDC screen = GetDC(shown);
    const HDC copy = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    int red = 0;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int y = line.top; y < height; ++y) {
        for (int x = 0; x < width; ++x) red += (pixels[y * width + x] & 0xFFFFFF) == 0xC00000;
    }
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(shown, screen);
    EXPECT_GT(red, 100);
}

}  // namespace
}  // namespace kivo::win32
