#pragma once
// The platform parts behind help, the update check and printing: the help
// engine, the URL opener, the printer and the program's top-most windows.
// The program runs with the real ones; a test puts in its own, one by one.
#include "platform/HelpEngine.h"
#include "platform/Printing.h"
#include "platform/TopMostWindows.h"
#include "platform/UrlOpener.h"

namespace kivo {

class Boxes;

class Auxiliaries {
public:
    // `boxes` is where the help engine reports a missing help document.
    explicit Auxiliaries(Boxes& boxes);
    Auxiliaries(const Auxiliaries&) = delete;
    Auxiliaries& operator=(const Auxiliaries&) = delete;

    HelpEngine& help() { return *help_; }
    UrlOpener& urls() { return *urls_; }
    PrinterPort& printer() { return *printer_; }
    // The nesting count of lowered top-most windows, for the whole run.
    TopMostWindows& topMost() { return topMost_; }

    // Replacements stay the caller's; they must outlive their use here.
    void use(HelpEngine& help) { help_ = &help; }
    void use(UrlOpener& urls) { urls_ = &urls; }
    void use(PrinterPort& printer) { printer_ = &printer; }

private:
    QtHelpEngine qtHelp_;
    QtUrlOpener qtUrls_;
    QtPrinterPort qtPrinter_;
    TopMostWindows topMost_;
    HelpEngine* help_ = &qtHelp_;
    UrlOpener* urls_ = &qtUrls_;
    PrinterPort* printer_ = &qtPrinter_;
};

}  // namespace kivo
