#include "win32/ListPrinting.h"

#include <Scintilla.h>

#include "commands/HelpCommands.h"
#include "core/Errors.h"
#include "win32/MemoControl.h"

namespace kivo::win32 {

PageLayout layOutPages(const MemoControl& list, HDC target, RECT page, bool render,
                       const std::function<bool()>& startPage,
                       const std::function<bool()>& endPage) {
    PageLayout layout;
    layout.length = list.send(SCI_GETLENGTH);
    Sci_RangeToFormatFull range{};
    range.hdc = target;
    range.hdcTarget = target;
    range.rcPage = {page.left, page.top, page.right, page.bottom};
    range.chrg = {0, static_cast<Sci_Position>(layout.length)};
    // An empty list still prints one (empty) page.
    do {
        range.rc = range.rcPage;
        if (render && startPage && !startPage()) break;
        const auto next = static_cast<long long>(
            list.send(SCI_FORMATRANGEFULL, render, reinterpret_cast<std::intptr_t>(&range)));
        ++layout.pages;
        if (render && endPage && !endPage()) break;
        // A page that takes nothing would never end the job.
        if (next <= range.chrg.cpMin) break;
        range.chrg.cpMin = static_cast<Sci_Position>(next);
        layout.laidOut = next;
    } while (range.chrg.cpMin < layout.length);
    return layout;
}

RECT printableArea(HDC printer) {
    return {0, 0, GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES)};
}

void printList(const MemoControl& list, HDC printer) {
    DOCINFOW document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = L"";
    if (StartDocW(printer, &document) <= 0) throw UserError(kPrintErrorText);
    bool failed = false;
    layOutPages(
        list, printer, printableArea(printer), true,
        [&] { return !(failed = StartPage(printer) <= 0); },
        [&] { return !(failed = EndPage(printer) <= 0); });
    if (failed) {
        AbortDoc(printer);
        throw UserError(kPrintErrorText);
    }
    if (EndDoc(printer) <= 0) throw UserError(kPrintErrorText);
}

}  // namespace kivo::win32
