#pragma once
// The platform parts behind help, the update check and printing: the help
// engine, the URL opener, the printer and the program's top-most windows,
// and the commands' ports for help, the browser and the top-most windows
// over them. The program runs with the real ones; a test puts in its own,
// one by one.
#include "commands/Ports.h"
#include "platform/HelpEngine.h"
#include "platform/Printing.h"
#include "platform/TopMostWindows.h"
#include "platform/UrlOpener.h"

namespace kivo {

class Boxes;

class Auxiliaries : public HelpPort, public UrlPort, public TopMostPort {
public:
    // `boxes` is where the help engine reports a missing help document;
    // `mainWindow` what the help opens for and what stays when the top-most
    // windows step aside.
    Auxiliaries(Boxes& boxes, QWidget& mainWindow);
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

    void showHelpContents() override;
    void openUrl(const std::string& url) override;
    void lowerTopMost() override;
    void raiseTopMost() override;

private:
    QWidget& mainWindow_;
    QtHelpEngine qtHelp_;
    QtUrlOpener qtUrls_;
    QtPrinterPort qtPrinter_;
    TopMostWindows topMost_;
    HelpEngine* help_ = &qtHelp_;
    UrlOpener* urls_ = &qtUrls_;
    PrinterPort* printer_ = &qtPrinter_;
};

}  // namespace kivo
