#pragma once
// The printer the program prints on, its set-up dialog, and the print layer
// that lays a rich text out on the printer's pages.
#include <memory>

class QPrinter;
class QTextDocument;
class QWidget;

namespace kivo {

// The current printer and the dialog that chooses it, behind an interface
// so that tests print to a PDF file through the same code.
class PrinterPort {
public:
    virtual ~PrinterPort() = default;
    // The printer set-up dialog over `owner`, filled with the current printer
    // and its settings. OK makes the choice current for the rest of the run
    // and returns true; cancel returns false and changes nothing.
    virtual bool setUp(QWidget* owner) = 0;
    // The current printer: the system's default until the user chooses.
    virtual QPrinter& printer() = 0;
};

class QtPrinterPort : public PrinterPort {
public:
    QtPrinterPort();
    ~QtPrinterPort() override;

    bool setUp(QWidget* owner) override;
    QPrinter& printer() override;

private:
    // Made at the first use: asking the print system for its default
    // printer can take a moment that start-up shouldn't pay.
    std::unique_ptr<QPrinter> printer_;
};

// Prints the whole document on the printer as one job named "": the text
// laid out on the full printable area of the page with its fonts and
// formatting, long lines wrapped at the page's edge, nothing added (no header, footer or page
// number), a new page only while text remains, one empty page for an empty document. Sizes are laid
// out at 96 pixels per inch and scaled to the printer, so a font given in pixels prints as large as
// it shows. Throws UserError when the printer refuses the job.
void printDocument(const QTextDocument& document, QPrinter& printer);

}  // namespace kivo
