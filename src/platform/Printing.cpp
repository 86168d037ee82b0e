#include "platform/Printing.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

#include "commands/HelpCommands.h"
#include "core/Errors.h"

namespace kivo {
namespace {

// The resolution the window is designed at; the word list's pixel sizes
// mean pixels of this.
constexpr double kLayoutDpi = 96.0;
constexpr double kInchesPerMeter = 1.0 / 0.0254;

// A device that only reports the layout resolution, so the layout doesn't
// depend on the screen the program happens to run on.
QImage layoutDevice() {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(kLayoutDpi * kInchesPerMeter));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// The page holding the last character: an empty last paragraph (the one
// after a final line break) holds none and never starts a page of its own.
int pagesNeeded(const QTextDocument& document, double pageHeight) {
    QTextBlock last = document.lastBlock();
    if (last.length() <= 1 && last.previous().isValid()) last = last.previous();
    const QTextLayout* layout = last.layout();
    if (!layout || layout->lineCount() == 0) return 1;
    const double top = document.documentLayout()->blockBoundingRect(last).top() +
                       layout->lineAt(layout->lineCount() - 1).y();
    return std::max(1, static_cast<int>(std::floor(top / pageHeight)) + 1);
}

void throwPrintError() { throw UserError(kPrintErrorText); }

}  // namespace

QtPrinterPort::QtPrinterPort() = default;

QtPrinterPort::~QtPrinterPort() = default;

QPrinter& QtPrinterPort::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool QtPrinterPort::setUp(QWidget* owner) {
    QPrintDialog dialog(&printer(), owner);
    dialog.setObjectName(QStringLiteral("PSD"));
    dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
    // A set-up dialog: printer and paper only, the whole list is printed.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
        if (QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel)) {
            cancel->setText(QStringLiteral("キャンセル"));
        }
    }
    return dialog.exec() == QDialog::Accepted;
}

void printDocument(const QTextDocument& source, QPrinter& printer) {
    // The page is the printable area: the margins are the printer's own
    // unprintable edge and nothing more.
    QPageLayout page = printer.pageLayout();
    page.setMargins(page.minimumMargins());
    printer.setPageLayout(page);
    printer.setFullPage(false);
    printer.setDocName(QString());

    // The printer's copy of the list, laid out page by page. The list itself
    // is left alone, so nothing the user does meanwhile moves the pages.
    const std::unique_ptr<QTextDocument> document(source.clone());
    QImage device = layoutDevice();
    document->documentLayout()->setPaintDevice(&device);
    document->setDocumentMargin(0);
    // The list on screen never wraps, but paper has an edge: a long line
    // runs on to the next line of the page rather than off its side.
    QTextOption wrapping = document->defaultTextOption();
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(wrapping);
    const double scaleX = printer.logicalDpiX() / kLayoutDpi;
    const double scaleY = printer.logicalDpiY() / kLayoutDpi;
    const QSizeF pageSize(printer.width() / scaleX, printer.height() / scaleY);
    document->setPageSize(pageSize);
    const int pages = pagesNeeded(*document, pageSize.height());

    QPainter painter;
    if (!painter.begin(&printer)) throw UserError("プリンタに出力できません");
    painter.scale(scaleX, scaleY);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage()) throwPrintError();
        const QRectF band(0, i * pageSize.height(), pageSize.width(), pageSize.height());
        painter.save();
        painter.translate(0, -band.top());
        painter.setClipRect(band);
        context.clip = band;
        document->documentLayout()->draw(&painter, context);
        painter.restore();
        // Keep the window painted while the job is spooled; no input, so no
        // second command starts in the middle of this one.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error) throwPrintError();
}

}  // namespace kivo
