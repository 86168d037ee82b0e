#pragma once
// The list as the printer gets it: a rich-text document of its text with
// the formats it shows, printed on the printer the user chose.
#include "commands/Ports.h"
#include "core/TextStyle.h"
#include "platform/Printing.h"

class QFont;
class QPrinter;
class QWidget;

namespace kivo {

class MemoControl;

// Prints the whole list in `font`, each formatted stretch in its own
// format, as one job on `printer` (see printDocument).
void printStyledList(const StyledText& list, const QFont& font, QPrinter& printer);

// The printer as the commands ask for it: its set-up dialog over the main
// window, and the list printed on the printer chosen there. The printer is
// the system's until a test puts in its own.
class ListPrintPort : public PrintPort {
public:
    ListPrintPort(const MemoControl& list, QWidget& mainWindow)
        : list_(list), mainWindow_(mainWindow) {}
    // A replacement stays the caller's; it must outlive its use here.
    void use(PrinterPort& printer) { printer_ = &printer; }

    bool setUpPrinter() override;
    void printList() override;

private:
    const MemoControl& list_;
    QWidget& mainWindow_;
    QtPrinterPort qtPrinter_;
    PrinterPort* printer_ = &qtPrinter_;
};

}  // namespace kivo
