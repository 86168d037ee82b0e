#include "win32/RichEditList.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "commands/FileCommands.h"
#include "commands/WindowLayout.h"
#include "commands/WindowRules.h"
#include "core/CodePage932.h"
#include "files/ListExport.h"
#include "files/WordListLoader.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

constexpr UINT kUnicodeCodePage = 1200;

std::wstring withCarriageReturns(std::string_view utf8) {
    std::u16string units = utf8ToUtf16(utf8);
    for (char16_t& c : units) {
        if (c == u'\n') c = u'\r';
    }
    breakLinesAsShown(units, u'\r');
    return std::wstring(units.begin(), units.end());
}

std::string withLineFeeds(std::wstring units) {
    std::replace(units.begin(), units.end(), L'\r', L'\n');
    return utf8(units);
}

void setText(HWND hwnd, const std::wstring& units, DWORD flags) {
    SETTEXTEX how{flags, kUnicodeCodePage};
    SendMessageW(hwnd, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(units.c_str()));
}

// Feeds EM_STREAMIN from a byte string, and EM_STREAMOUT into one.
struct Stream {
    std::string bytes;
    std::size_t at = 0;
};

DWORD CALLBACK readStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* stream = reinterpret_cast<Stream*>(cookie);
    const std::size_t n =
        std::min(static_cast<std::size_t>(wanted), stream->bytes.size() - stream->at);
    std::copy_n(stream->bytes.data() + stream->at, n, buffer);
    stream->at += n;
    *given = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK writeStream(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
    auto* stream = reinterpret_cast<Stream*>(cookie);
    stream->bytes.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
    *taken = count;
    return 0;
}

// The paste keys and messages run the window's paste, which judges what
// comes in; the list's own paste (EM_PASTESPECIAL) is not one of them.
LRESULT CALLBACK pasteThroughWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool pasteKey = message == WM_KEYDOWN && ((control && !shift && wParam == 'V') ||
                                                    (shift && !control && wParam == VK_INSERT));
    if (pasteKey || message == WM_PASTE) {
        SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_COMMAND,
                     MAKEWPARAM(static_cast<UINT>(CommandId::Paste), 0), 0);
        return 0;
    }
    // The character Ctrl+V leaves behind is no text.
    if (message == WM_CHAR && wParam == 0x16) return 0;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

std::string RichEditList::clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = withLineFeeds(units);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

HWND RichEditList::create(HWND parent, int id) {
    const HWND hwnd = CreateWindowExW(
        WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
            ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return nullptr;
    // No word wrap: one line of the control is one entry.
    SendMessageW(hwnd, EM_SETTARGETDEVICE, 0, 1);
    // Files dropped on the list come to the window as a notification, so
    // the list never takes them as text.
    SendMessageW(hwnd, EM_SETEVENTMASK, 0,
                 ENM_SELCHANGE | ENM_CHANGE | ENM_REQUESTRESIZE | ENM_PROTECTED | ENM_DROPFILES);
    SendMessageW(hwnd, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kDefaultCapacity));
    SetWindowSubclass(hwnd, pasteThroughWindow, 1, 0);
    return hwnd;
}

std::uint32_t RichEditList::count() const {
    const auto lines = static_cast<std::uint32_t>(SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0));
    if (lines == 0) return 0;
    const LRESULT lastStart = SendMessageW(hwnd_, EM_LINEINDEX, lines - 1, 0);
    const auto lastLength =
        static_cast<std::size_t>(SendMessageW(hwnd_, EM_LINELENGTH, lastStart, 0));
    return listCount(lines, lastLength);
}

std::string RichEditList::line(std::uint32_t i) const {
    const LRESULT start = SendMessageW(hwnd_, EM_LINEINDEX, i, 0);
    if (start < 0) return {};
    const auto length = static_cast<LONG>(SendMessageW(hwnd_, EM_LINELENGTH, start, 0));
    // A unit is at least one byte of code page 932: more units than bytes
    // are never needed.
    const LONG wanted = std::min<LONG>(length, static_cast<LONG>(kMaxLineBytes));
    std::wstring units(static_cast<std::size_t>(wanted) + 1, L'\0');
    TEXTRANGEW range{{static_cast<LONG>(start), static_cast<LONG>(start) + wanted}, units.data()};
    const auto got = static_cast<std::size_t>(
        SendMessageW(hwnd_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    units.resize(got);
    const std::u16string_view view(reinterpret_cast<const char16_t*>(units.data()), units.size());
    return utf8(std::wstring_view(units).substr(0, cp932::fittingPrefix(view, kMaxLineBytes)));
}

std::size_t RichEditList::capacity() const {
    return static_cast<std::size_t>(SendMessageW(hwnd_, EM_GETLIMITTEXT, 0, 0));
}

void RichEditList::setCapacity(std::size_t characters) {
    SendMessageW(hwnd_, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(characters));
}

std::size_t RichEditList::length() const {
    GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, kUnicodeCodePage};
    return static_cast<std::size_t>(
        SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0));
}

void RichEditList::clearList() {
    setText(hwnd_, L"", ST_DEFAULT);
    plainFormat();
    setModified(false);
}

void RichEditList::plainFormat() {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                    CFM_COLOR | CFM_STRIKEOUT;
    format.dwEffects = CFE_AUTOCOLOR;
    format.yHeight = kListFontHalfPoints * 10;  // twips
    format.bCharSet = SHIFTJIS_CHARSET;
    const std::wstring face = wide(kListFontFamily);
    face.copy(format.szFaceName, LF_FACESIZE - 1);
    SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void RichEditList::loadWholeText(const StyledText& text) {
    setCapacity(kRaisedCapacity);
    if (text.ranges.empty()) {
        // The plain case goes in as text: no RTF to write and read back. The
        // list's format is set on the empty control, so the text takes it as
        // it comes in rather than in a second pass over all of it.
        setText(hwnd_, L"", ST_DEFAULT);
        plainFormat();
        setText(hwnd_, withCarriageReturns(text.text), ST_DEFAULT);
    } else {
        // Formats go in as our own RTF, which the control reads itself.
        Stream stream{listToRtf(text, kListFontFamily, kListFontHalfPoints)};
        EDITSTREAM how{reinterpret_cast<DWORD_PTR>(&stream), 0, readStream};
        SendMessageW(hwnd_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&how));
    }
    // A freshly loaded document has nothing to undo.
    SendMessageW(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(hwnd_, EM_SETSEL, 0, 0);
    setModified(false);
}

void RichEditList::appendRaw(const std::wstring& units) {
    CHARRANGE kept{};
    SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, EM_SETSEL, -1, -1);
    setText(hwnd_, units, ST_SELECTION | ST_KEEPUNDO);
    SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void RichEditList::appendText(std::string_view lines) { appendRaw(withCarriageReturns(lines)); }

bool RichEditList::isModified() const { return SendMessageW(hwnd_, EM_GETMODIFY, 0, 0) != 0; }

void RichEditList::setModified(bool modified) {
    SendMessageW(hwnd_, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

std::wstring RichEditList::rawText() const {
    GETTEXTLENGTHEX measure{GTL_NUMCHARS | GTL_PRECISE, kUnicodeCodePage};
    const auto units = static_cast<std::size_t>(
        SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&measure), 0));
    std::wstring text(units + 1, L'\0');
    GETTEXTEX how{static_cast<DWORD>((units + 1) * sizeof(wchar_t)), GT_DEFAULT, kUnicodeCodePage,
                  nullptr, nullptr};
    const auto got =
        static_cast<std::size_t>(SendMessageW(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how),
                                              reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(got, units));
    return text;
}

std::vector<std::string> RichEditList::lines() const {
    std::vector<std::string> out;
    const std::uint32_t entries = count();
    out.reserve(entries);
    const std::wstring text = rawText();
    std::size_t from = 0;
    while (out.size() < entries && from <= text.size()) {
        std::size_t end = text.find(L'\r', from);
        if (end == std::wstring::npos) end = text.size();
        out.push_back(utf8(std::wstring_view(text).substr(from, end - from)));
        from = end + 1;
    }
    return out;
}

void RichEditList::setLines(const std::vector<std::string>& lines) {
    std::wstring units;
    for (const std::string& line : lines) units += withCarriageReturns(line) + L'\r';
    setText(hwnd_, L"", ST_DEFAULT);
    plainFormat();
    setText(hwnd_, units, ST_DEFAULT);
}

std::string RichEditList::text() const { return withLineFeeds(rawText()); }

StyledText RichEditList::styledText() const {
    // The control writes its formats as RTF, and our own reader reads them
    // back, as it reads any RTF a user loads.
    Stream stream;
    EDITSTREAM how{reinterpret_cast<DWORD_PTR>(&stream), 0, writeStream};
    SendMessageW(hwnd_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&how));
    StyledText styled = styledTextFromBytes(stream.bytes);
    dropListFont(styled, kListFontFamily, kListFontHalfPoints);
    // The text itself comes from the control as it stands; the RTF only
    // tells where its formats lie.
    styled.text = text();
    return styled;
}

bool RichEditList::hasSelection() const {
    CHARRANGE range{};
    SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin != range.cpMax;
}

std::string RichEditList::selectedText() const {
    CHARRANGE range{};
    SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    std::wstring units(static_cast<std::size_t>(std::max<LONG>(0, range.cpMax - range.cpMin)) + 1,
                       L'\0');
    const auto got = static_cast<std::size_t>(
        SendMessageW(hwnd_, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(units.data())));
    units.resize(std::min(got, units.size() - 1));
    return withLineFeeds(units);
}

void RichEditList::replaceSelection(std::string_view text) {
    const std::wstring units = withCarriageReturns(text);
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(units.c_str()));
    // What is left to undo would no longer fit the text.
    SendMessageW(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
}

bool RichEditList::canUndo() const { return SendMessageW(hwnd_, EM_CANUNDO, 0, 0) != 0; }

void RichEditList::cut() { SendMessageW(hwnd_, WM_CUT, 0, 0); }

void RichEditList::copy() { SendMessageW(hwnd_, WM_COPY, 0, 0); }

void RichEditList::paste() {
    // Only the text of what is pasted: the list is a list, not a document.
    SendMessageW(hwnd_, EM_PASTESPECIAL, CF_UNICODETEXT, 0);
}

void RichEditList::selectAll() { SendMessageW(hwnd_, EM_SETSEL, 0, -1); }

void RichEditList::undo() { SendMessageW(hwnd_, EM_UNDO, 0, 0); }

}  // namespace kivo::win32
