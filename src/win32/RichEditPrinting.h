#pragma once
// The list on paper: the Rich Edit control lays its own text out page by
// page (EM_FORMATRANGE). On screen it never wraps; on paper a long line
// runs on to the next line of the page rather than off its side.
#include <windows.h>

#include <functional>

namespace kivo::win32 {

struct PageLayout {
    int pages = 0;
    long laidOut = 0;  // characters placed on the pages
    long length = 0;   // characters in the list
};

// Lays the whole text of `list` out on pages of pageTwips (the printable
// area of `target`, in twips). With `render`, each page is drawn on target
// between startPage and endPage, which return false when the device fails.
PageLayout layOutPages(HWND list, HDC target, RECT pageTwips, bool render,
                       const std::function<bool()>& startPage = {},
                       const std::function<bool()>& endPage = {});

// The printable area of a printer's device context, in twips.
RECT printableTwips(HDC printer);

// One print job of the whole list on `printer`; throws the print error
// when the printer fails.
void printList(HWND list, HDC printer);

}  // namespace kivo::win32
