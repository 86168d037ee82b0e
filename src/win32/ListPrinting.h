#pragma once
// The list on paper: the editor lays its own text out page by page
// (SCI_FORMATRANGEFULL). On screen it never wraps; on paper a long line
// runs on to the next line of the page rather than off its side.
#include <windows.h>

#include <functional>

namespace kivo::win32 {

class MemoControl;

struct PageLayout {
    int pages = 0;
    long long laidOut = 0;  // bytes of the text placed on the pages
    long long length = 0;   // bytes in the list
};

// Lays the whole list out on pages of `page` (the printable area of
// `target`, in its pixels). With `render`, each page is drawn on target
// between startPage and endPage, which return false when the device fails.
PageLayout layOutPages(const MemoControl& list, HDC target, RECT page, bool render,
                       const std::function<bool()>& startPage = {},
                       const std::function<bool()>& endPage = {});

// The printable area of a printer's device context, in its pixels.
RECT printableArea(HDC printer);

// One print job of the whole list on `printer`; throws the print error
// when the printer fails.
void printList(const MemoControl& list, HDC printer);

}  // namespace kivo::win32
