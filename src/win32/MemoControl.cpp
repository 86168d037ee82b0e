#include "win32/MemoControl.h"

#include <Scintilla.h>
#include <commctrl.h>

#include <algorithm>
#include <new>

#include "commands/FileCommands.h"
#include "commands/WindowLayout.h"
#include "commands/ListContract.h"
#include "core/Utf8.h"
#include "editor/ListEditor.h"
#include "files/ListExport.h"
#include "win32/ListAccessible.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

// Only insertions and deletions concern the window.
constexpr std::intptr_t kListEvents = SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT;

// The list's messages are Scintilla's, as its header numbers them.
static_assert(
    sci::ClearAll == SCI_CLEARALL && sci::GetLength == SCI_GETLENGTH &&
    sci::GetStyleAt == SCI_GETSTYLEAT && sci::SetUndoCollection == SCI_SETUNDOCOLLECTION &&
    sci::SetSavePoint == SCI_SETSAVEPOINT && sci::GetStyledText == SCI_GETSTYLEDTEXT &&
    sci::GetCurrentPos == SCI_GETCURRENTPOS && sci::SetEolMode == SCI_SETEOLMODE &&
    sci::StartStyling == SCI_STARTSTYLING && sci::SetStyling == SCI_SETSTYLING &&
    sci::SetCodePage == SCI_SETCODEPAGE && sci::StyleClearAll == SCI_STYLECLEARALL &&
    sci::StyleSetFore == SCI_STYLESETFORE && sci::StyleSetBack == SCI_STYLESETBACK &&
    sci::StyleSetItalic == SCI_STYLESETITALIC && sci::StyleSetFont == SCI_STYLESETFONT &&
    sci::StyleSetUnderline == SCI_STYLESETUNDERLINE &&
    sci::StyleSetSizeFractional == SCI_STYLESETSIZEFRACTIONAL &&
    sci::StyleSetWeight == SCI_STYLESETWEIGHT && sci::SetCaretPeriod == SCI_SETCARETPERIOD &&
    sci::GetLineEndPosition == SCI_GETLINEENDPOSITION && sci::GetLineCount == SCI_GETLINECOUNT &&
    sci::GetModify == SCI_GETMODIFY && sci::LineFromPosition == SCI_LINEFROMPOSITION &&
    sci::PositionFromLine == SCI_POSITIONFROMLINE && sci::EmptyUndoBuffer == SCI_EMPTYUNDOBUFFER &&
    sci::AppendText == SCI_APPENDTEXT && sci::LineLength == SCI_LINELENGTH &&
    sci::SetDocPointer == SCI_SETDOCPOINTER && sci::SetModEventMask == SCI_SETMODEVENTMASK &&
    sci::CreateDocument == SCI_CREATEDOCUMENT && sci::ReleaseDocument == SCI_RELEASEDOCUMENT &&
    sci::GetModEventMask == SCI_GETMODEVENTMASK &&
    sci::GetDocumentOptions == SCI_GETDOCUMENTOPTIONS && sci::SetStatus == SCI_SETSTATUS &&
    sci::GetStatus == SCI_GETSTATUS && sci::SetXOffset == SCI_SETXOFFSET &&
    sci::Allocate == SCI_ALLOCATE && sci::GetCharacterPointer == SCI_GETCHARACTERPOINTER &&
    sci::SetFirstVisibleLine == SCI_SETFIRSTVISIBLELINE &&
    sci::GetRangePointer == SCI_GETRANGEPOINTER);
static_assert(sci::kCodePageUtf8 == SC_CP_UTF8 && sci::kEolLf == SC_EOL_LF &&
              sci::kStatusOk == SC_STATUS_OK && sci::kStatusBadAlloc == SC_STATUS_BADALLOC &&
              sci::kDocumentDefault == SC_DOCUMENTOPTION_DEFAULT &&
              sci::kDocumentStylesNone == SC_DOCUMENTOPTION_STYLES_NONE &&
              EditorStyles::kDefaultStyle == STYLE_DEFAULT &&
              EditorStyles::kLastReservedStyle == STYLE_LASTPREDEFINED &&
              SC_FONT_SIZE_MULTIPLIER == 100 && SC_WEIGHT_BOLD == 700);
static_assert(sizeof(sci::TextRange) == sizeof(Sci_TextRange) &&
              sizeof(Sci_PositionCR) == sizeof(long));

bool keyDown(int key) { return GetKeyState(key) < 0; }

// The keys and messages of paste, copy and cut go through the window's
// commands and the list's own clipboard road; what the list has just done
// is told to the window.
LRESULT CALLBACK listProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
    auto* memo = reinterpret_cast<MemoControl*>(data);
    const bool control = keyDown(VK_CONTROL), shift = keyDown(VK_SHIFT);
    if (message == WM_KEYDOWN) {
        const bool pasteKey =
            (control && !shift && wParam == 'V') || (shift && !control && wParam == VK_INSERT);
        const bool copyKey = (control && !shift && (wParam == 'C' || wParam == VK_INSERT));
        const bool cutKey =
            (control && !shift && wParam == 'X') || (shift && !control && wParam == VK_DELETE);
        if (pasteKey) message = WM_PASTE;
        if (copyKey) message = WM_COPY;
        if (cutKey) message = WM_CUT;
    }
    switch (message) {
        case WM_PASTE:
            // The window's paste judges what comes in.
            SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_COMMAND,
                         MAKEWPARAM(static_cast<UINT>(CommandId::Paste), 0), 0);
            return 0;
        case WM_COPY:
            memo->copy();
            return 0;
        case WM_CUT:
            memo->cut();
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT answer =
                    answerAccessibleObject(hwnd, memo->accessibleName(), wParam, lParam)) {
                return answer;
            }
            break;
        case WM_CHAR:
            // Control keys leave characters behind that are no text (Ctrl+V,
            // Ctrl+K); a character shown as a new line is one.
            if (wParam < 0x20 && wParam != '\t' && wParam != '\r' && wParam != '\n') return 0;
            if (isShownLineBreak(static_cast<char16_t>(wParam))) {
                memo->send(SCI_NEWLINE);
                memo->noteSelection();
                return 0;
            }
            break;
        default:
            break;
    }
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message != WM_PAINT && message != WM_NCDESTROY && message != WM_DESTROY) {
        memo->noteSelection();
    }
    return result;
}

}  // namespace

ListCosts MemoControl::costs() { return kEditorCosts; }

MemoControl::MemoControl(HWND parent, int id, std::function<void()> selectionChanged)
    : selectionChanged_(std::move(selectionChanged)) {
    static const bool registered = Scintilla_RegisterClasses(GetModuleHandleW(nullptr)) != 0;
    (void)registered;
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"Scintilla", L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, 0, 0, 0,
                            0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) throw std::bad_alloc();
    direct_ = reinterpret_cast<Direct>(SendMessageW(hwnd_, SCI_GETDIRECTFUNCTION, 0, 0));
    editor_ = static_cast<std::intptr_t>(SendMessageW(hwnd_, SCI_GETDIRECTPOINTER, 0, 0));

    // A plain list of UTF-8 lines ended by LF: no margins, no wrap, no
    // annotations (whose heights the editor would measure line by line for
    // every document it takes), both scroll bars as the text needs them.
    send(SCI_SETCODEPAGE, SC_CP_UTF8);
    send(SCI_SETEOLMODE, SC_EOL_LF);
    for (int margin = 0; margin < 5; ++margin) send(SCI_SETMARGINWIDTHN, margin, 0);
    send(SCI_SETMARGINLEFT, 0, 4);
    send(SCI_SETMARGINRIGHT, 0, 4);
    send(SCI_SETWRAPMODE, SC_WRAP_NONE);
    send(SCI_ANNOTATIONSETVISIBLE, ANNOTATION_HIDDEN);
    send(SCI_SETSCROLLWIDTH, 1);
    send(SCI_SETSCROLLWIDTHTRACKING, 1);
    // Japanese typed through the IME is composed in the list itself.
    send(SCI_SETIMEINTERACTION, SC_IME_INLINE);
    // The window's context menu, not the editor's (which is English).
    send(SCI_USEPOPUP, SC_POPUP_NEVER);
    send(SCI_SETMODEVENTMASK, kListEvents);
    // On paper a long line runs on to the next line of the page, broken
    // between words where it has them and anywhere where it has none.
    send(SCI_SETPRINTWRAPMODE, SC_WRAP_WORD);
    send(SCI_SETPRINTCOLOURMODE, SC_PRINT_COLOURONWHITE);
    // The list's font is Japanese; without a character set of its own GDI
    // would take a Western one for the name. Every style takes it.
    send(SCI_STYLESETCHARACTERSET, STYLE_DEFAULT, SC_CHARSET_SHIFTJIS);
    list_.styles().setBase({.font = kListFontFamily,
                            .hundredthsOfPoint = kListFontHalfPoints * 50,
                            .fore = static_cast<std::uint32_t>(GetSysColor(COLOR_WINDOWTEXT)),
                            .back = static_cast<std::uint32_t>(GetSysColor(COLOR_WINDOW))});
    send(SCI_SETCARETFORE, GetSysColor(COLOR_WINDOWTEXT));
    send(SCI_SETSELBACK, 1, GetSysColor(COLOR_HIGHLIGHT));
    send(SCI_SETSELFORE, 1, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetWindowSubclass(hwnd_, listProcedure, 2, reinterpret_cast<DWORD_PTR>(this));
}

MemoControl::~MemoControl() {
    if (IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, listProcedure, 2);
}

std::intptr_t MemoControl::send(unsigned message, std::uintptr_t wParam,
                                std::intptr_t lParam) const {
    return direct_(editor_, message, wParam, lParam);
}

void MemoControl::noteSelection() {
    // Keys that change the text but not the caret (Delete) change the count
    // as well.
    const Place now{send(SCI_GETANCHOR), send(SCI_GETCURRENTPOS), send(SCI_GETLINECOUNT),
                    send(SCI_GETLENGTH)};
    if (now == last_ && !textMoved_) return;
    last_ = now;
    textMoved_ = false;
    list_.settleCaret(static_cast<int>(GetCaretBlinkTime()));
    listValueChanged(hwnd_);
    if (selectionChanged_) selectionChanged_();
}

std::uint32_t MemoControl::count() const { return list_.count(); }

std::string MemoControl::line(std::uint32_t i) const { return std::string(list_.line(i)); }

std::vector<std::string> MemoControl::lines() const { return list_.lines(); }

std::string MemoControl::text() const { return std::string(list_.text()); }

StyledText MemoControl::styledText() const { return list_.styledText(); }

TextStyle MemoControl::styleAt(std::size_t position) const {
    return list_.styles().styleAt(bytePosition(position));
}

bool MemoControl::isModified() const { return list_.isModified(); }

void MemoControl::setModified(bool modified) { list_.setModified(modified); }

void MemoControl::told(const std::function<void()>& change) {
    // As the editor tells of its own changes, once for the whole, whether
    // the change went in or ran out of memory.
    struct Tell {
        MemoControl& memo;
        ~Tell() {
            memo.textMoved_ = true;
            SendMessageW(GetParent(memo.hwnd_), WM_COMMAND,
                         MAKEWPARAM(GetDlgCtrlID(memo.hwnd_), SCEN_CHANGE),
                         reinterpret_cast<LPARAM>(memo.hwnd_));
            memo.noteSelection();
        }
    } tell{*this};
    change();
}

void MemoControl::replaceAll(std::string_view text, const std::vector<StyledRange>& ranges) {
    told([&] { list_.replaceAll(text, ranges); });
}

void MemoControl::clearList() {
    replaceAll({}, {});
    setModified(false);
}

void MemoControl::loadWholeText(StyledText text) {
    setCapacity(kRaisedCapacity);
    replaceAll(text.text, text.ranges);
    setModified(false);
}

void MemoControl::appendText(std::string_view lines) {
    told([&] { list_.append(lines); });
}

void MemoControl::setLines(const std::vector<std::string>& lines) {
    replaceAll(joinedLines(lines), {});
}

bool MemoControl::hasSelection() const { return send(SCI_GETSELECTIONEMPTY) == 0; }

std::string MemoControl::selectedText() const {
    std::string text(static_cast<std::size_t>(send(SCI_GETSELTEXT, 0, 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        send(SCI_GETSELTEXT, 0, reinterpret_cast<std::intptr_t>(text.data()))));
    return text;
}

std::size_t MemoControl::bytePosition(std::size_t units) const {
    return static_cast<std::size_t>(
        send(SCI_POSITIONRELATIVECODEUNITS, 0, static_cast<std::intptr_t>(units)));
}

void MemoControl::selectRange(std::size_t from, std::size_t to) {
    send(SCI_SETSEL, bytePosition(from), static_cast<std::intptr_t>(bytePosition(to)));
    noteSelection();
}

void MemoControl::replaceSelection(std::string_view text) {
    list_.replaceSelection(asListText(text));
    noteSelection();
}

bool MemoControl::canUndo() const { return send(SCI_CANUNDO) != 0; }

bool MemoControl::isEmpty() const { return send(SCI_GETLENGTH) == 0; }

void MemoControl::copy() {
    if (!hasSelection()) return;
    // Windows' programs read line breaks on the clipboard as CR LF.
    const std::wstring units = wide(withCarriageReturns(selectedText()));
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (units.size() + 1) * sizeof(wchar_t));
    if (!memory) throw std::bad_alloc();
    std::copy_n(units.c_str(), units.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    if (!OpenClipboard(hwnd_)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    CloseClipboard();
}

void MemoControl::cut() {
    if (!hasSelection()) return;
    copy();
    send(SCI_REPLACESEL, 0, reinterpret_cast<std::intptr_t>(""));
    noteSelection();
}

std::string MemoControl::clipboardUtf8() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = asListText(utf8(units));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void MemoControl::paste() {
    // Only the text of what is pasted, its line breaks as the list's; one
    // step to undo.
    const std::string text = clipboardUtf8();
    send(SCI_BEGINUNDOACTION);
    send(SCI_REPLACESEL, 0, reinterpret_cast<std::intptr_t>(text.c_str()));
    send(SCI_ENDUNDOACTION);
    noteSelection();
}

void MemoControl::selectAll() {
    send(SCI_SELECTALL);
    noteSelection();
}

void MemoControl::undo() {
    send(SCI_UNDO);
    noteSelection();
}

}  // namespace kivo::win32
