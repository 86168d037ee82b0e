#include "win32/RichEditPrinting.h"

#include <richedit.h>

#include "commands/HelpCommands.h"
#include "core/Errors.h"

namespace kivo::win32 {

PageLayout layOutPages(HWND list, HDC target, RECT pageTwips, bool render,
                       const std::function<bool()>& startPage,
                       const std::function<bool()>& endPage) {
    PageLayout layout;
    GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, 1200};
    layout.length = static_cast<long>(
        SendMessageW(list, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0));
    FORMATRANGE range{};
    range.hdc = target;
    range.hdcTarget = target;
    range.rcPage = pageTwips;
    range.chrg = {0, -1};
    // An empty list still prints one (empty) page.
    do {
        range.rc = pageTwips;
        if (render && startPage && !startPage()) break;
        const auto next = static_cast<long>(
            SendMessageW(list, EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(&range)));
        ++layout.pages;
        if (render && endPage && !endPage()) break;
        // A page that takes nothing would never end the job.
        if (next <= range.chrg.cpMin) break;
        range.chrg.cpMin = next;
        layout.laidOut = next;
    } while (range.chrg.cpMin < layout.length);
    // The control keeps what it measured until told to let go.
    SendMessageW(list, EM_FORMATRANGE, FALSE, 0);
    return layout;
}

RECT printableTwips(HDC printer) {
    const int dpiX = GetDeviceCaps(printer, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    RECT page{0, 0, 0, 0};
    if (dpiX <= 0 || dpiY <= 0) return page;
    page.right = MulDiv(GetDeviceCaps(printer, HORZRES), 1440, dpiX);
    page.bottom = MulDiv(GetDeviceCaps(printer, VERTRES), 1440, dpiY);
    return page;
}

void printList(HWND list, HDC printer) {
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = L"";
    if (StartDocW(printer, &document) <= 0) throw UserError(kPrintErrorText);
    bool failed = false;
    layOutPages(
        list, printer, printableTwips(printer), true,
        [&] { return !(failed = StartPage(printer) <= 0); },
        [&] { return !(failed = EndPage(printer) <= 0); });
    if (failed) {
        AbortDoc(printer);
        throw UserError(kPrintErrorText);
    }
    if (EndDoc(printer) <= 0) throw UserError(kPrintErrorText);
}

}  // namespace kivo::win32
