#include "win32/ShareDialogs.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "commands/Countdown.h"
#include "commands/ShareTexts.h"
#include "win32/AnchorLayout.h"
#include "win32/ControlHints.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

// The fields of the two dialogs, by their identifiers (OK and キャンセル
// are IDOK and IDCANCEL, which Enter and Esc press).
enum Field {
    kStreamOn = 100,
    kFolderLabel,
    kFolder,
    kBrowse,
    kSeparatorLabel,
    kSeparator,
    kLeadLabel,
    kLead,
    kHashtagLabel,
    kHashtag,
    kMinutesLabel,
    kMinutes,
    kMinutesSpin,
};

std::wstring textOf(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Builds a dialog's controls in tab order, each in the main window's font,
// and gives each its hint.
class DialogBuilder {
public:
    DialogBuilder(HWND dialog, const AnchorLayout& layout)
        : dialog_(dialog), layout_(layout), hints_(dialog, layout.scaled(320)) {}

    int px(int designPixels) const { return layout_.scaled(designPixels); }
    // The width a caption takes in the dialog's font.
    int widthOf(std::string_view caption) const {
        const std::wstring shown = shownCaption(caption);
        const HDC dc = GetDC(dialog_);
        const HGDIOBJ old = SelectObject(dc, layout_.windowFont());
        SIZE size{};
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(dialog_, dc);
        return size.cx;
    }
    HWND add(const wchar_t* kind, std::string_view text, DWORD style, int id, RECT at,
             DWORD extended = 0) {
        const HWND control = CreateWindowExW(
            extended, kind, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, at.left, at.top,
            at.right - at.left, at.bottom - at.top, dialog_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.windowFont()), FALSE);
        return control;
    }
    void hint(HWND control, std::string_view shown, std::string_view hint) {
        hints_.add(control, shown, hint);
    }
    // The client area this size, centred over the window that owns it and
    // kept on its screen.
    void sizeClient(int width, int height) {
        RECT frame{0, 0, width, height};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE)));
        const int w = frame.right - frame.left, h = frame.bottom - frame.top;
        RECT owner{};
        GetWindowRect(GetWindow(dialog_, GW_OWNER), &owner);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromRect(&owner, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        const int left = std::clamp<int>((owner.left + owner.right - w) / 2, work.left,
                                         std::max<int>(work.left, work.right - w));
        const int top = std::clamp<int>((owner.top + owner.bottom - h) / 2, work.top,
                                        std::max<int>(work.top, work.bottom - h));
        SetWindowPos(dialog_, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // OK and キャンセル at the bottom right; answers the client height.
    int addButtons(int clientWidth, int top) {
        const int width = std::max(
            {px(75), widthOf(kDialogOkText) + px(20), widthOf(kDialogCancelText) + px(20)});
        const int height = px(25), margin = px(11);
        const int cancelLeft = clientWidth - margin - width;
        add(L"BUTTON", kDialogOkText, WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
            {cancelLeft - px(6) - width, top, cancelLeft - px(6), top + height});
        add(L"BUTTON", kDialogCancelText, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL,
            {cancelLeft, top, cancelLeft + width, top + height});
        return top + height + margin;
    }
    int buttonsWidth() const {
        return 2 * std::max({px(75), widthOf(kDialogOkText) + px(20),
                             widthOf(kDialogCancelText) + px(20)}) +
               px(6) + 2 * px(11);
    }

private:
    HWND dialog_;
    const AnchorLayout& layout_;
    ControlHints hints_;
};

// One showing of a dialog: its controls made at WM_INITDIALOG, OK taken
// when `accept` agrees, any other command handed to `command`. What a
// handler throws ends the dialog and comes out of run() after it.
struct DialogRun {
    const AnchorLayout& layout;
    std::function<void(DialogBuilder&, HWND)> build;
    std::function<bool(HWND)> accept;
    std::function<void(HWND, int)> command;
    std::exception_ptr failure;

    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* run = reinterpret_cast<DialogRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!run) return FALSE;
        try {
            return run->handle(dialog, message, wParam);
        } catch (...) {
            run->failure = std::current_exception();
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
    }

    INT_PTR handle(HWND dialog, UINT message, WPARAM wParam) {
        switch (message) {
            case WM_INITDIALOG: {
                DialogBuilder builder(dialog, layout);
                build(builder, dialog);
                return FALSE;  // the focus is set
            }
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDOK:
                        if (accept(dialog)) EndDialog(dialog, IDOK);
                        return TRUE;
                    case IDCANCEL:
                        EndDialog(dialog, IDCANCEL);
                        return TRUE;
                    default:
                        if (command) command(dialog, LOWORD(wParam));
                        return TRUE;
                }
            default:
                return FALSE;
        }
    }

    // True for OK.
    bool run(HWND owner) {
        // A template of no controls: they are made at WM_INITDIALOG, in the
        // main window's font and at its scale.
        alignas(4) WORD blank[16] = {};
        DLGTEMPLATE head{};
        head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;
        static_assert(sizeof(DLGTEMPLATE) + 3 * sizeof(WORD) <= sizeof(blank));
        std::memcpy(blank, &head, sizeof(head));  // then no menu, class or title
        const INT_PTR answer = DialogBoxIndirectParamW(
            GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(blank), owner,
            &DialogRun::procedure, reinterpret_cast<LPARAM>(this));
        if (failure) std::rethrow_exception(failure);
        return answer == IDOK;
    }
};

// The system's folder dialog; the old one where the new cannot be made.
std::optional<std::wstring> chooseFolder(HWND owner, const std::wstring& start) {
    const std::wstring title = wide(kShareFolderDialogTitle);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::optional<std::wstring> chosen;
    bool answered = false;
    IFileOpenDialog* dialog = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&dialog)))) {
        FILEOPENDIALOGOPTIONS options = 0;
        dialog->GetOptions(&options);
        dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
        dialog->SetTitle(title.c_str());
        IShellItem* folder = nullptr;
        if (!start.empty() &&
            SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr, IID_PPV_ARGS(&folder)))) {
            dialog->SetFolder(folder);
            folder->Release();
        }
        const HRESULT shown = dialog->Show(owner);
        if (SUCCEEDED(shown)) {
            answered = true;
            IShellItem* item = nullptr;
            if (SUCCEEDED(dialog->GetResult(&item))) {
                PWSTR path = nullptr;
                if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                    chosen = path;
                    CoTaskMemFree(path);
                }
                item->Release();
            }
        } else {
            answered = shown == HRESULT_FROM_WIN32(ERROR_CANCELLED);
        }
        dialog->Release();
    }
    if (!answered) {
        BROWSEINFOW browse{};
        browse.hwndOwner = owner;
        browse.lpszTitle = title.c_str();
        browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        // Opens at the folder chosen before.
        browse.lParam = reinterpret_cast<LPARAM>(start.c_str());
        browse.lpfn = [](HWND hwnd, UINT message, LPARAM, LPARAM data) -> int {
            if (message == BFFM_INITIALIZED && *reinterpret_cast<const wchar_t*>(data))
                SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
            return 0;
        };
        if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&browse)) {
            wchar_t path[MAX_PATH] = {};
            if (SHGetPathFromIDListW(list, path)) chosen = path;
            CoTaskMemFree(list);
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

}  // namespace

std::optional<ShareSettings> ShareDialogs::editShareSettings(const ShareSettings& settings) {
    ShareSettings taken = settings;
    DialogRun run{layout_, {}, {}, {}, {}};
    run.build = [&](DialogBuilder& b, HWND dialog) {
        const int margin = b.px(11), row = b.px(23), gap = b.px(7);
        const char* labels[] = {kShareFolderText, kShareSeparatorText, kShareLeadText,
                                kShareHashtagText};
        int labelWidth = 0;
        for (const char* label : labels) labelWidth = std::max(labelWidth, b.widthOf(label));
        labelWidth += b.px(6);
        const int fieldLeft = margin + labelWidth;
        const int fieldRight = fieldLeft + b.px(300);
        const int width = std::max({fieldRight + margin, b.buttonsWidth(),
                                    2 * margin + b.widthOf(kShareStreamOnText) + b.px(24)});
        int top = margin;
        const HWND streamOn = b.add(L"BUTTON", kShareStreamOnText, WS_TABSTOP | BS_AUTOCHECKBOX,
                                    kStreamOn, {margin, top, width - margin, top + row});
        b.hint(streamOn, kShareStreamOnText, kShareStreamOnHint);
        SendMessageW(streamOn, BM_SETCHECK, settings.streamOn ? BST_CHECKED : BST_UNCHECKED, 0);
        top += row + gap;
        // A field under its label's access key: the label comes just before
        // it in the tab order, and a screen reader names the field by it.
        const auto field = [&](int labelId, const char* label, int id, const std::string& value,
                               const char* hint, int right) {
            b.add(L"STATIC", label, SS_LEFT | SS_CENTERIMAGE, labelId,
                  {margin, top, fieldLeft, top + row});
            const HWND edit = b.add(L"EDIT", value, WS_TABSTOP | ES_AUTOHSCROLL, id,
                                    {fieldLeft, top, right, top + row}, WS_EX_CLIENTEDGE);
            b.hint(edit, label, hint);
            top += row + gap;
            return edit;
        };
        const int browseWidth = std::max(b.px(75), b.widthOf(kShareBrowseText) + b.px(20));
        const int folderTop = top;
        field(kFolderLabel, kShareFolderText, kFolder, settings.folder, kShareFolderHint,
              fieldRight - browseWidth - b.px(6));
        const HWND browse =
            b.add(L"BUTTON", kShareBrowseText, WS_TABSTOP | BS_PUSHBUTTON, kBrowse,
                  {fieldRight - browseWidth, folderTop, fieldRight, folderTop + row});
        b.hint(browse, kShareBrowseText, kShareBrowseHint);
        field(kSeparatorLabel, kShareSeparatorText, kSeparator, settings.separator,
              kShareSeparatorHint, fieldRight);
        field(kLeadLabel, kShareLeadText, kLead, settings.lead, kShareLeadHint, fieldRight);
        field(kHashtagLabel, kShareHashtagText, kHashtag, settings.hashtag, kShareHashtagHint,
              fieldRight);
        const int height = b.addButtons(width, top + b.px(4));
        SetWindowTextW(dialog, wide(kShareDialogCaption).c_str());
        b.sizeClient(width, height);
        SetFocus(streamOn);
    };
    run.command = [](HWND dialog, int id) {
        if (id != kBrowse) return;
        if (const auto folder = chooseFolder(dialog, textOf(dialog, kFolder))) {
            SetDlgItemTextW(dialog, kFolder, folder->c_str());
            SetFocus(GetDlgItem(dialog, kFolder));
        }
    };
    run.accept = [&](HWND dialog) {
        taken.streamOn = IsDlgButtonChecked(dialog, kStreamOn) == BST_CHECKED;
        taken.folder = utf8(textOf(dialog, kFolder));
        taken.separator = utf8(textOf(dialog, kSeparator));
        taken.lead = utf8(textOf(dialog, kLead));
        taken.hashtag = utf8(textOf(dialog, kHashtag));
        return true;
    };
    if (!run.run(owner_)) return std::nullopt;
    return taken;
}

std::optional<int> ShareDialogs::askTimerMinutes(int minutes) {
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&common);
    int taken = minutes;
    DialogRun run{layout_, {}, {}, {}, {}};
    run.build = [&](DialogBuilder& b, HWND dialog) {
        const int margin = b.px(11), row = b.px(23);
        const int fieldLeft = margin + b.widthOf(kTimerMinutesText) + b.px(6);
        const int fieldRight = fieldLeft + b.px(70);
        const int width = std::max(fieldRight + margin, b.buttonsWidth());
        b.add(L"STATIC", kTimerMinutesText, SS_LEFT | SS_CENTERIMAGE, kMinutesLabel,
              {margin, margin, fieldLeft, margin + row});
        const HWND edit = b.add(L"EDIT", std::to_string(minutes), WS_TABSTOP | ES_NUMBER, kMinutes,
                                {fieldLeft, margin, fieldRight, margin + row}, WS_EX_CLIENTEDGE);
        SendMessageW(edit, EM_SETLIMITTEXT, 3, 0);
        b.hint(edit, kTimerMinutesText, kTimerMinutesHint);
        // Arrows beside the field, in its range; they shrink it to make room.
        const HWND spin = b.add(UPDOWN_CLASSW, "",
                                UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                kMinutesSpin, {0, 0, 0, 0});
        SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
        SendMessageW(spin, UDM_SETRANGE32, kFewestTimerMinutes, kMostTimerMinutes);
        SendMessageW(spin, UDM_SETPOS32, 0, minutes);
        const int height = b.addButtons(width, margin + row + b.px(15));
        SetWindowTextW(dialog, wide(kTimerDialogCaption).c_str());
        b.sizeClient(width, height);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
    };
    run.accept = [&](HWND dialog) {
        BOOL number = FALSE;
        const UINT value = GetDlgItemInt(dialog, kMinutes, &number, FALSE);
        if (!number || value < static_cast<UINT>(kFewestTimerMinutes) ||
            value > static_cast<UINT>(kMostTimerMinutes)) {
            // Not a length it takes: the field again, its text selected; its
            // hint tells the range.
            MessageBeep(MB_ICONEXCLAMATION);
            const HWND edit = GetDlgItem(dialog, kMinutes);
            SetFocus(edit);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            return false;
        }
        taken = static_cast<int>(value);
        return true;
    };
    if (!run.run(owner_)) return std::nullopt;
    return taken;
}

}  // namespace kivo::win32
