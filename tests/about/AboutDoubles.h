#pragma once
// Test stand-ins for the platform parts of help, the update check and
// printing, and the poppler tools that read the printed PDF back.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <vector>

#include "platform/HelpEngine.h"
#include "platform/Printing.h"
#include "platform/UrlOpener.h"

namespace kivo {

struct ScriptedHelpEngine : HelpEngine {
    struct Request {
        QWidget* owner;
        QString helpFile;
    };
    std::vector<Request> requests;
    void showContents(QWidget* owner, const QString& helpFile) override {
        requests.push_back({owner, helpFile});
    }
};

struct RecordingUrlOpener : UrlOpener {
    std::vector<QUrl> opened;
    void open(const QUrl& url) override { opened.push_back(url); }
};

// A PDF file standing for the printer the user chose.
struct PdfPrinterPort : PrinterPort {
    QPrinter pdf{QPrinter::HighResolution};
    bool answer = true;  // OK in the set-up dialog
    std::vector<QWidget*> setUps;

    explicit PdfPrinterPort(const QString& file) {
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(file);
    }
    bool setUp(QWidget* owner) override {
        setUps.push_back(owner);
        return answer;
    }
    QPrinter& printer() override { return pdf; }
};

// Runs one of the poppler tools; its standard output, or a failure.
inline QString runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << tool.toStdString()
                      << " did not run (scripts/setup installs poppler-utils)";
        return {};
    }
    if (process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString() << " failed: "
                      << QString::fromUtf8(process.readAllStandardError()).toStdString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A field of pdfinfo's report, such as "Pages" or "Title"; empty when the
// document has none.
inline QString pdfInfo(const QString& file, const QString& field) {
    const QStringList lines = runTool(QStringLiteral("pdfinfo"), {file}).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(field + QLatin1Char(':'))) return line.mid(field.size() + 1).trimmed();
    }
    return {};
}

inline int pdfPageCount(const QString& file) {
    bool ok = false;
    const int pages = pdfInfo(file, QStringLiteral("Pages")).toInt(&ok);
    return ok ? pages : -1;
}

// The text lines of one page (1-based), blank lines left out.
inline QStringList pdfPageLines(const QString& file, int page) {
    const QString text = runTool(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                  QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                  QString::number(page), file, QStringLiteral("-")});
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed().remove(QChar(0x0C));
        if (!trimmed.isEmpty()) lines << trimmed;
    }
    return lines;
}

// Waits for the next real message box, notes what it shows and presses the
// button whose text is `press`.
struct BoxProbe {
    bool seen = false;
    QString caption, text, defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;

    void arm(const QString& press) {
        QTimer::singleShot(50, [this, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = true;
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            if (box->defaultButton()) defaultButton = box->defaultButton()->text();
            QAbstractButton* toPress = nullptr;
            for (QAbstractButton* b : box->buttons()) {
                buttons << b->text();
                if (b->text() == press) toPress = b;
            }
            if (toPress) {
                toPress->click();
            } else {
                box->reject();
            }
        });
    }
};

}  // namespace kivo
