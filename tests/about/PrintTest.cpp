#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "AboutDoubles.h"
#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/MainWindow.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

// Numbered entries that pdftotext gives back one per line.
QStringList entries(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << QStringLiteral("語句%1").arg(i, 4, 10, QLatin1Char('0'));
    }
    return lines;
}

class PrintTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    ScriptedBoxes boxes;
    MainWindow form{boxes};
    PdfPrinterPort printer{pdf};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // A small page keeps a list of a few pages short.
        printer.pdf.setPageSize(QPageSize(QPageSize::A6));
        form.setPrinter(printer);
    }
    void print() { form.findChild<QAction*>(QStringLiteral("mnuPrint"))->trigger(); }
    void setList(int count, bool finalBreak) {
        ui(form).Memo->setPlainUtf8((entries(count).join(QLatin1Char('\n')) +
                                     (finalBreak ? QStringLiteral("\n") : QString()))
                                        .toStdString());
    }
};

TEST_F(PrintTest, AOneLineListIsOneJobOfOnePageWithItsTextAlone) {
    ui(form).Memo->setPlainUtf8("りんご");
    print();
    EXPECT_EQ(printer.setUps, std::vector<QWidget*>{&form});  // the set-up is the window's
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Title")), QString());  // the job has no name
    EXPECT_EQ(pdfPageLines(pdf, 1), QStringList{QStringLiteral("りんご")});
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ui(form).Memo->utf8Text(), "りんご");
}

TEST_F(PrintTest, AnEmptyListStillGivesOneEmptyPage) {
    print();
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_TRUE(pdfPageLines(pdf, 1).isEmpty());
}

TEST_F(PrintTest, ALongListRunsOnToNewPagesOnlyWhileTextRemains) {
    // How many lines a page holds, as the first page of a long list shows.
    setList(200, false);
    print();
    const int perPage = static_cast<int>(pdfPageLines(pdf, 1).size());
    ASSERT_GT(perPage, 10);
    ASSERT_LT(perPage, 100);

    // Two and a half pages, with the final line break lists usually end with.
    setList(perPage * 5 / 2, true);
    print();
    ASSERT_EQ(pdfPageCount(pdf), 3);
    QStringList printed;
    for (int page = 1; page <= 3; ++page) {
        const QStringList lines = pdfPageLines(pdf, page);
        EXPECT_FALSE(lines.isEmpty()) << "page " << page;
        printed << lines;
    }
    // Every entry once, in order, and nothing else: no header, footer or
    // page number.
    EXPECT_EQ(printed, entries(perPage * 5 / 2));

    // A list that fills its page exactly gets no page for its final break;
    // one more entry does start a page.
    setList(perPage, true);
    print();
    EXPECT_EQ(pdfPageCount(pdf), 1);
    setList(perPage + 1, true);
    print();
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_EQ(pdfPageLines(pdf, 2), entries(perPage + 1).mid(perPage));
    EXPECT_EQ(printer.setUps.size(), 4u);
}

TEST_F(PrintTest, LongLinesWrapOnThePageAndLoseNoText) {
    // Words far wider than the page, then one unbroken run of digits.
    QStringList words;
    for (int i = 1; i <= 60; ++i) words << QStringLiteral("w%1").arg(i);
    QString digits;
    for (int i = 0; i < 200; ++i) digits += QChar(u'0' + i % 10);
    const QString text = words.join(QLatin1Char(' ')) + QLatin1Char('\n') + digits + "\n末尾";
    ui(form).Memo->setPlainUtf8(text.toStdString());
    print();
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QStringList printed = pdfPageLines(pdf, 1);
    EXPECT_GT(printed.size(), 4);
    QString all = printed.join(QString());
    QString expected = text;
    all.remove(QLatin1Char(' '));
    expected.remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
    EXPECT_EQ(all.toStdString(), expected.toStdString());
}

// Word boxes of pdftotext -bbox: text and height in points, and the top-left.
struct Word {
    QString text;
    double xMin, yMin, height;
};

std::vector<Word> words(const QString& pdf) {
    const QString html =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> found;
    for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
        const double yMin = m.captured(2).toDouble();
        found.push_back(
            {m.captured(4), m.captured(1).toDouble(), yMin, m.captured(3).toDouble() - yMin});
    }
    return found;
}

TEST_F(PrintTest, TextFillsThePrintableAreaInTheListsOwnFontsAndSizes) {
    // Line 2 at 24 points, the rest in the list's own font: 16 pixels, which
    // is 12 points.
    TextStyle large;
    large.halfPoints = 48;
    ui(form).Memo->setStyledUtf8("ふつう\nおおきい\nふつう", {StyledRange{4, 4, large}});
    print();
    const std::vector<Word> printed = words(pdf);
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(printed[1].text, QStringLiteral("おおきい"));
    // No margin of its own: the first line starts at the page's corner
    // (a PDF page is printable to its edges).
    EXPECT_LT(printed[0].xMin, 2.0);
    EXPECT_LT(printed[0].yMin, 6.0);
    EXPECT_GT(printed[0].height, 9.0);
    EXPECT_LT(printed[0].height, 18.0);
    EXPECT_NEAR(printed[1].height / printed[0].height, 2.0, 0.25);
    EXPECT_NEAR(printed[2].height, printed[0].height, 0.5);
}

TEST_F(PrintTest, APrinterThatRefusesTheJobEndsInTheErrorBox) {
    printer.pdf.setOutputFileName(dir.filePath(QStringLiteral("missing-folder/list.pdf")));
    ui(form).Memo->setPlainUtf8("りんご");
    print();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, ScriptedBoxes::Shown::Error);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("プリンタに出力できません."));
    EXPECT_EQ(ui(form).Memo->utf8Text(), "りんご");
}

TEST(PrinterSetUp, TheRealDialogShowsTheCurrentPrinterAndCancelChangesNothing) {
    QtPrinterPort port;
    QPrinter* current = &port.printer();
    EXPECT_EQ(&port.printer(), current);  // one printer for the whole run
    const QPageSize paper = current->pageLayout().pageSize();

    bool seen = false;
    QString title;
    QPrinter* shown = nullptr;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        seen = true;
        title = dialog->windowTitle();
        shown = dialog->printer();
        dialog->reject();
    });
    QWidget owner;
    EXPECT_FALSE(port.setUp(&owner));
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, QStringLiteral("プリンタの設定"));
    EXPECT_EQ(shown, current);
    EXPECT_EQ(&port.printer(), current);
    EXPECT_TRUE(port.printer().pageLayout().pageSize().isEquivalentTo(paper));
}

}  // namespace
}  // namespace kivo
