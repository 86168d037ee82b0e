#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <span>
#include <vector>

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/HintLine.h"
#include "app/MainWindow.h"
#include "commands/WindowLayout.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    MainWindow form{boxes};
};

TEST_F(MainWindowTest, StartsWithTheInitialCaptionAndEmptyFields) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kivo  version 1.33   >>>   [ Quillery ]"));
    EXPECT_EQ(form.versionText(), "version 1.33");
    EXPECT_TRUE(form.session().currentFile().empty());
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("0"));
    EXPECT_TRUE(ui(form).Edit1st->text().isEmpty());
    EXPECT_TRUE(ui(form).StatusPanel0->text().isEmpty());
    // No maximize box; the border stays sizeable.
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(MainWindowTest, AFileNameWithTheToolkitsModifiedMarkShowsAsItIs) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.session().files().setCurrentFile("/tmp/a[*]b.txt");
    // What the title bar shows, not only what the window was told.
    EXPECT_EQ(form.windowHandle()->title(), QStringLiteral("a[*]b.txt  >>>  Kivo version 1.33"));
}

TEST_F(MainWindowTest, ControlsSitAtTheirDesignBoundsAndFollowTheirAnchors) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.centralWidget()->height() + ui(form).StatusBar->height(), 216);
    EXPECT_EQ(form.centralWidget()->width(), 395);
    EXPECT_EQ(ui(form).StatusBar->height(), 19);
    const std::pair<QWidget*, QRect> design[] = {
        {ui(form).GroupBox1, {4, 8, 389, 185}},  {ui(form).Memo, {12, 24, 209, 153}},
        {ui(form).ButtonOK, {232, 29, 145, 20}}, {ui(form).ButtonListClear, {232, 56, 145, 20}},
        {ui(form).Edit1st, {232, 117, 145, 26}}, {ui(form).Edit2nd, {232, 151, 145, 26}},
    };
    for (const auto& [widget, bounds] : design) {
        EXPECT_EQ(widget->geometry(), bounds) << widget->objectName().toStdString();
    }
    // Labels keep their place and size themselves to their text.
    const std::pair<QWidget*, QPoint> labels[] = {{ui(form).Label3, {235, 101}},
                                                  {ui(form).Label1, {320, 101}},
                                                  {ui(form).LabelLineValue, {352, 101}}};
    for (const auto& [label, at] : labels) {
        EXPECT_EQ(label->pos(), at) << label->objectName().toStdString();
        EXPECT_EQ(label->height(), 12);
    }
    const int narrow = ui(form).LabelLineValue->width();
    ui(form).LabelLineValue->setText(QStringLiteral("1000000"));
    QCoreApplication::processEvents();
    EXPECT_GT(ui(form).LabelLineValue->width(), narrow);
    EXPECT_EQ(ui(form).LabelLineValue->width(), ui(form).LabelLineValue->sizeHint().width());

    form.resize(form.width() + 100, form.height() + 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(ui(form).GroupBox1->geometry(), QRect(4, 8, 489, 235));
    EXPECT_EQ(ui(form).Memo->geometry(), QRect(12, 24, 209, 203));      // left, top, bottom
    EXPECT_EQ(ui(form).ButtonOK->geometry(), QRect(232, 29, 145, 20));  // left, top
    EXPECT_EQ(ui(form).Label3->pos(), QPoint(235, 151));                // left, bottom
    EXPECT_EQ(ui(form).Edit2nd->geometry(), QRect(232, 201, 245, 26));
    // The one panel spans the bar, up to the size grip.
    EXPECT_LE(ui(form).StatusPanel0->geometry().left(), 3);
    EXPECT_GE(ui(form).StatusPanel0->geometry().right(), ui(form).StatusBar->width() - 25);
}

TEST_F(MainWindowTest, EveryCountTheListCanHoldShowsInFull) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // The most entries the list holds: an empty line for each character.
    ui(form).LabelLineValue->setText(QString::number(kRaisedCapacity));
    QCoreApplication::processEvents();
    const QRect inside = ui(form).GroupBox1->contentsRect();
    const QRect value = ui(form).LabelLineValue->geometry();
    EXPECT_TRUE(inside.contains(value)) << value.right() << " " << inside.right();
    EXPECT_EQ(value.width(), ui(form).LabelLineValue->sizeHint().width());
    // 総数： and 今回のお題 make room rather than being covered.
    EXPECT_LT(ui(form).Label1->geometry().right(), value.left());
    EXPECT_LT(ui(form).Label3->geometry().right(), ui(form).Label1->x());
    EXPECT_GT(ui(form).Label3->x(), ui(form).Memo->geometry().right());
}

TEST_F(MainWindowTest, FontsAreTheDesignedOnesAndDrawEveryJapaneseCharacter) {
    EXPECT_EQ(form.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(form.font().pixelSize(), 12);
    EXPECT_EQ(ui(form).Memo->font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(ui(form).Memo->font().pixelSize(), 16);
    EXPECT_EQ(ui(form).Edit1st->font().family(), QStringLiteral("FixedSys"));
    const std::pair<QWidget*, QString> texts[] = {
        {ui(form).GroupBox1, ui(form).GroupBox1->title()},
        {ui(form).ButtonOK, ui(form).ButtonOK->text()},
        {ui(form).ButtonListClear, ui(form).ButtonListClear->text()},
        {ui(form).Label3, ui(form).Label3->text()},
        {ui(form).Label1, ui(form).Label1->text()},
        {ui(form).Memo, QStringLiteral("語句リスト犬猫ｶﾞ")},
        {ui(form).Edit1st, QStringLiteral(" お題その１")},
    };
    for (const auto& [widget, text] : texts) {
        const QFontMetrics metrics(widget->font());
        for (const QChar ch : text) {
            EXPECT_TRUE(metrics.inFont(ch))
                << widget->objectName().toStdString() << " U+" << std::hex << int(ch.unicode());
        }
    }
}

// Every entry of the menus under `actions` with its depth, a sub-menu's
// entries right after it one deeper: the order of the shared tables.
void collect(const QList<QAction*>& actions, int depth,
             std::vector<std::pair<int, const QAction*>>& rows) {
    for (const QAction* a : actions) {
        rows.emplace_back(depth, a);
        if (a->menu()) collect(a->menu()->actions(), depth + 1, rows);
    }
}

// The window's menus show the table row by row: name, kind, caption (the
// edit command's where the row names none), hint and shortcut.
void expectMenusShow(const QList<QAction*>& actions, std::span<const MenuItem> table) {
    std::vector<std::pair<int, const QAction*>> rows;
    collect(actions, 0, rows);
    ASSERT_EQ(rows.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const MenuItem& item = table[i];
        const auto& [depth, a] = rows[i];
        SCOPED_TRACE(item.name);
        EXPECT_EQ(depth, item.depth);
        EXPECT_EQ(a->objectName().toStdString(), item.name);
        EXPECT_EQ(a->isSeparator(), item.kind == MenuKind::Separator);
        EXPECT_EQ(a->menu() != nullptr, item.kind == MenuKind::SubMenu);
        EXPECT_EQ(a->isCheckable(),
                  item.kind == MenuKind::CheckItem || item.kind == MenuKind::RadioItem);
        EXPECT_EQ(a->text().toStdString(), captionOf(item));
        EXPECT_EQ(HintLine::hintOf(a).toStdString(), hintOf(item));
        const char* key = shortcutOf(item.command);
        EXPECT_EQ(a->shortcut().toString().toStdString(), key ? key : "");
    }
}

TEST_F(MainWindowTest, MenusShowTheSharedTables) {
    expectMenusShow(form.menuBar()->actions(), mainMenuItems());
    expectMenusShow(ui(form).PopupMenu1->actions(), listMenuItems());
    expectMenusShow(ui(form).PopupMenu2->actions(), topicMenuItems());
    // A few texts as the user reads them, so that the table is not its own
    // judge: a title, an edit command's caption, an item's own caption, a key.
    const auto item = [this](const char* name) {
        return form.findChild<QAction*>(QString::fromLatin1(name));
    };
    EXPECT_EQ(form.menuBar()->actions()[0]->text(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(item("mnuPUCut")->text(), QStringLiteral("切り取り(&X)"));
    EXPECT_EQ(item("mnuEditSelectAll")->text(), QStringLiteral("全て選択(&A)"));
    EXPECT_EQ(item("mnuPresent")->shortcut().toString(), QStringLiteral("F11"));
}

TEST_F(MainWindowTest, MenuItemsFollowTheEditCommandTheyShow) {
    // A command's caption and enabling follow it into every item that shows
    // it, except where the item names its own caption.
    auto* command = form.findChild<QAction*>(QStringLiteral("EditSelectAllCmd"));
    ASSERT_NE(command, nullptr);
    command->setEnabled(false);
    command->setText(QStringLiteral("X"));
    for (const char* name : {"mnuSelectAll", "mnuEditSelectAll"}) {
        auto* item = form.findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_FALSE(item->isEnabled()) << name;
        EXPECT_EQ(item->text(), QStringLiteral("全て選択(&A)"));
    }
    auto* cut = form.findChild<QAction*>(QStringLiteral("EditCutCmd"));
    cut->setText(QStringLiteral("X"));
    EXPECT_EQ(form.findChild<QAction*>(QStringLiteral("mnuPUCut"))->text(), QStringLiteral("X"));
}

// The next control that Tab reaches from `w`.
QWidget* nextTabStop(QWidget* w) {
    for (QWidget* next = w->nextInFocusChain(); next != w; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && !next->isHidden()) {
            return next;
        }
    }
    return w;
}

TEST_F(MainWindowTest, TabOrderRunsThroughTheListButtonsAndTopics) {
    EXPECT_EQ(nextTabStop(ui(form).Memo), ui(form).ButtonOK);
    EXPECT_EQ(nextTabStop(ui(form).ButtonOK), ui(form).ButtonListClear);
    EXPECT_EQ(nextTabStop(ui(form).ButtonListClear), ui(form).Edit1st);
    EXPECT_EQ(nextTabStop(ui(form).Edit1st), ui(form).Edit2nd);
    EXPECT_EQ(nextTabStop(ui(form).Edit2nd), ui(form).Memo);
    EXPECT_TRUE(ui(form).Memo->tabChangesFocus());
}

TEST_F(MainWindowTest, TypingInTheListSetsTheModifiedMarkAndRefreshesTheLineCount) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ui(form).Memo->setFocus();
    QTest::keyClicks(ui(form).Memo, QStringLiteral("dog"));
    QTest::keyClick(ui(form).Memo, Qt::Key_Return);
    // Japanese arrives from the input method as a committed string.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("猫"));
    QCoreApplication::sendEvent(ui(form).Memo, &commit);
    EXPECT_TRUE(ui(form).Memo->isModified());
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("2"));
    QTest::keyClick(ui(form).Memo, Qt::Key_Return);
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("2"));  // trailing empty line
    QTest::keyClick(ui(form).Memo, Qt::Key_Return);
    EXPECT_EQ(ui(form).LabelLineValue->text(), QStringLiteral("3"));
    EXPECT_TRUE(boxes.shown.empty());
}

// What a screen reader reads for a control.
QString accessibleText(QWidget* w, QAccessible::Text which) {
    return QAccessible::queryAccessibleInterface(w)->text(which);
}

TEST_F(MainWindowTest, ScreenReadersReadWhatControlsShowWithTheHintAsDescription) {
    // A control is named by what it shows, or by its hint where it shows no
    // caption (the list and the topics); the hint is its description.
    for (const ControlRow& row : groupBoxControls()) {
        auto* widget = form.findChild<QWidget*>(QString::fromLatin1(row.name));
        const QString text = QString::fromUtf8(row.text);
        const QString hint = QString::fromUtf8(row.hint);
        EXPECT_EQ(accessibleText(widget, QAccessible::Name), text.isEmpty() ? hint : text)
            << row.name;
        EXPECT_EQ(accessibleText(widget, QAccessible::Description), hint) << row.name;
    }
    EXPECT_EQ(accessibleText(ui(form).ButtonOK, QAccessible::Name), QStringLiteral("お題の選出"));
    EXPECT_EQ(accessibleText(ui(form).GroupBox1, QAccessible::Name), QStringLiteral("単語リスト"));
    EXPECT_EQ(accessibleText(ui(form).GroupBox1, QAccessible::Description), QString());
    ui(form).Memo->setPlainUtf8("犬\n猫");
    form.session().listMoved();
    EXPECT_EQ(accessibleText(ui(form).LabelLineValue, QAccessible::Name), QStringLiteral("2"));
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        EXPECT_TRUE(w->toolTip().isEmpty()) << w->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, ExitClosesAtOnceEvenWithAModifiedList) {
    form.show();
    ui(form).Memo->setPlainUtf8("犬\n猫");
    ui(form).Memo->setModified(true);
    form.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace kivo
