// The toolkit's dialogs as the program opens them: the texts they show are
// the program's, in Japanese.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/MainWindow.h"
#include "platform/MemoControl.h"
#include "platform/Printing.h"

namespace kivo {
namespace {

// Every text a visible part of the window shows: captions, labels, buttons,
// group titles, tab titles, a combo box's current choice, and the rows and
// column titles of lists.
QStringList shownTexts(const QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (const auto* label = qobject_cast<const QLabel*>(w)) texts << label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) texts << button->text();
        if (const auto* group = qobject_cast<const QGroupBox*>(w)) texts << group->title();
        if (const auto* combo = qobject_cast<const QComboBox*>(w)) texts << combo->currentText();
        if (const auto* tabs = qobject_cast<const QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
        }
        if (const auto* view = qobject_cast<const QAbstractItemView*>(w)) {
            const QAbstractItemModel* model = view->model();
            const QModelIndex root = view->rootIndex();
            if (!model) continue;
            for (int column = 0; column < model->columnCount(root); ++column) {
                texts << model->headerData(column, Qt::Horizontal).toString();
                for (int row = 0; row < model->rowCount(root); ++row) {
                    texts << model->index(row, column, root).data().toString();
                }
            }
        }
    }
    return texts;
}

// The same, with each page of every tabbed part of the window brought up.
QStringList textsOnEveryPage(QWidget* window) {
    QStringList texts = shownTexts(window);
    for (auto* tabs : window->findChildren<QTabWidget*>()) {
        if (!tabs->isVisible()) continue;
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            texts << shownTexts(window);
        }
    }
    return texts;
}

// The English the toolkit falls back on where its Japanese catalogue has a
// gap, and the desktop-language sizes, types and dates of the file list.
QStringList englishIn(const QStringList& texts) {
    static const QRegularExpression english(QStringLiteral(
        R"(\b(Double Sided Printing|Off|Long side binding|Short side binding|Advanced|Folder|Drive|)"
        R"(bytes?|KB|document|Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)\b)"));
    QStringList found;
    for (const QString& text : texts) {
        if (english.match(text).hasMatch()) found << text;
    }
    return found;
}

QString joined(const QStringList& texts) { return texts.join(QStringLiteral(" / ")); }

TEST(DialogTexts, ThePrinterSetUpAndItsPropertiesShowNoEnglish) {
    QtPrinterPort port;
    QStringList setUp, properties;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        // The options below the printer, then the printer's properties.
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (button->text().startsWith(QStringLiteral("オプション"))) button->click();
        }
        setUp = textsOnEveryPage(dialog);
        QTimer::singleShot(50, [&, dialog] {
            QWidget* shown = QApplication::activeModalWidget();
            if (shown && shown != dialog) {
                properties = textsOnEveryPage(shown);
                shown->close();
            }
            dialog->reject();
        });
        dialog->findChild<QPushButton*>(QStringLiteral("properties"))->click();
    });
    QWidget owner;
    port.setUp(&owner);
    ASSERT_TRUE(setUp.contains(QStringLiteral("両面印刷"))) << joined(setUp).toStdString();
    EXPECT_TRUE(englishIn(setUp).isEmpty()) << joined(englishIn(setUp)).toStdString();
    ASSERT_FALSE(properties.isEmpty());
    EXPECT_TRUE(englishIn(properties).isEmpty()) << joined(englishIn(properties)).toStdString();
}

class FileDialogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedBoxes boxes;
    MainWindow form{boxes};

    void SetUp() override {
        // One sub-folder, one file.
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("語句")));
        QFile file(dir.filePath(QStringLiteral("動物.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\x8c\xa2\r\n");
    }

    struct Seen {
        QStringList filters, texts;
    };
    // Runs a menu command and looks at the file dialog it opens in the test's
    // folder, then cancels it, or chooses `name` when one is given.
    Seen look(const char* command, const QString& name = QString()) {
        Seen seen;
        QTimer::singleShot(50, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialog->setDirectory(dir.path());
            // Long enough for the dialog to have listed the folder.
            QTimer::singleShot(300, [&seen, dialog, name] {
                const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                for (int i = 0; types && i < types->count(); ++i) {
                    seen.filters << types->itemText(i);
                }
                seen.texts = shownTexts(dialog);
                if (name.isEmpty()) {
                    dialog->reject();
                } else {
                    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
                    QMetaObject::invokeMethod(dialog, "accept");
                }
            });
        });
        form.findChild<QAction*>(QString::fromLatin1(command))->trigger();
        return seen;
    }
};

TEST_F(FileDialogTest, FiltersShowAsWrittenFullWidthSpacesIncluded) {
    const auto filters = [this](const char* command) {
        return look(command).filters.join(QLatin1Char('|')).toStdString();
    };
    EXPECT_EQ(filters("mnuExporttxt"), "txt ファイル　(*.txt)|全てのファイル　(*.*)");
    EXPECT_EQ(filters("mnuExportKivo"), "Kivo ファイル　(*.Kivo)");
    EXPECT_EQ(filters("mnuNewInporttxt"), "テキストファイル (*.txt)|全てのファイル(*.*)");
}

TEST_F(FileDialogTest, TheChosenNameIsSavedWithTheFiltersExtension) {
    ui(form).Memo->setPlainUtf8("犬");
    look("mnuExporttxt", QStringLiteral("一覧"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("一覧.txt"))));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FileDialogTest, OpenAndSaveDialogsShowNoEnglish) {
    for (const char* command : {"mnuNewInporttxt", "mnuExporttxt"}) {
        const QStringList texts = look(command).texts;
        ASSERT_TRUE(texts.contains(QStringLiteral("語句"))) << joined(texts).toStdString();
        EXPECT_TRUE(texts.contains(QStringLiteral("フォルダ"))) << command;
        EXPECT_TRUE(englishIn(texts).isEmpty()) << joined(englishIn(texts)).toStdString();
    }
}

}  // namespace
}  // namespace kivo
