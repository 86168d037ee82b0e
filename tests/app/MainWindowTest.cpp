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

#include "FormControls.h"
#include "ScriptedBoxes.h"
#include "app/MainWindow.h"
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

TEST_F(MainWindowTest, SetCurrentFileShowsTheFileNameBeforeTheTitle) {
    form.session().files().setCurrentFile("/home/ユーザー/語句/動物.txt");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("動物.txt  >>>  Kivo version 1.33"));
    EXPECT_EQ(form.session().currentFile(), "/home/ユーザー/語句/動物.txt");
    form.session().files().setCurrentFile("表ソ.Kivo");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("表ソ.Kivo  >>>  Kivo version 1.33"));
    // A "%1" in a file name is text, not a placeholder.
    form.session().files().setCurrentFile("/tmp/%1%2.txt");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("%1%2.txt  >>>  Kivo version 1.33"));
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

// Name, caption and hint of each entry in one menu, separators as "-".
std::vector<std::string> describe(const QMenu* menu) {
    std::vector<std::string> rows;
    for (const QAction* a : menu->actions()) {
        rows.push_back(a->objectName().toStdString() + " " +
                       (a->isSeparator() ? std::string("-") : a->text().toStdString()) + " | " +
                       a->property("kivoHint").toString().toStdString());
    }
    return rows;
}

TEST_F(MainWindowTest, MainMenuHoldsEveryItemWithCaptionAndHint) {
    const QList<QAction*> titles = form.menuBar()->actions();
    ASSERT_EQ(titles.size(), 4);
    EXPECT_EQ(describe(titles[0]->menu()),
              (std::vector<std::string>{
                  "mnuNew 新規作成(&N) | 単語リストとお題リストをクリアします", "Bar1 - | ",
                  "mnuPrint 印刷(&P) | 単語リストを印刷します", "Bar2 - | ",
                  "mnuInport インポート(&I) | 外部からファイルをインポートします",
                  "mnuExport エクスポート(&E) | 単語リストを外部へエクスポートします", "Bar3 - | ",
                  "mnuExit 終了(&X) | Kivo を終了します"}));
    EXPECT_EQ(titles[0]->text(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(titles[0]->property("kivoHint").toString(),
              QStringLiteral("語句リストとお題リストをクリアします"));
    const QMenu* import = titles[0]->menu()->actions()[4]->menu();
    EXPECT_EQ(describe(import),
              (std::vector<std::string>{
                  "mnuNewInportKivo Kivo ファイルを新規インポート(&S) | 暗号化された Kivo "
                  "形式のファイルを新規にインポートします",
                  "mnuAddInportKivo Kivo ファイルを追加インポート(&A) | 暗号化された Kivo "
                  "形式のファイルを、既存の単語リストに追加します",
                  "Bar6 - | ",
                  "mnuNewInporttxt txt ファイルを新規インポート(&T) | "
                  "テキストファイルを新規にインポートします",
                  "mnuAddInporttxt txt ファイルを追加インポート(&D) | "
                  "既存の単語リストに追加する形でインポートを行います"}));
    EXPECT_EQ(describe(titles[0]->menu()->actions()[5]->menu()),
              (std::vector<std::string>{
                  "mnuExportKivo Kivo 形式でエクスポート(&P) | 単語リストを暗号化して保存します",
                  "mnuExporttxt txt 形式でエクスポート(&T) | 単語リストを txt 形式で保存します"}));
    EXPECT_EQ(titles[1]->text(), QStringLiteral("編集(&E)"));
    EXPECT_EQ(describe(titles[1]->menu()),
              (std::vector<std::string>{
                  "mnuFullWidth 全角変換(&F) | カタカナ、英数を全角文字に変換します",
                  "mnuHalfWidth 半角変換(&H) | カタカナ、英数を半角文字に変換します", "N3 - | ",
                  "mnuEditCut 切り取り(&X) | 選択部分を切り取り、クリップボードに送ります",
                  "mnuEditCopy コピー(&C) | 選択部分をコピーし、クリップボードに送ります",
                  "mnuEditPaste 貼り付け(&V) | クリップボードの内容を貼り付けます",
                  "mnuEditSelectAll 全て選択(&A) | リストを全て選択します", "Bar7 - | ",
                  "mnuEditUndo 元に戻す(&Z) | 直前の変更を元に戻します"}));
    EXPECT_EQ(titles[2]->text(), QStringLiteral("ツール(&T)"));
    EXPECT_EQ(
        describe(titles[2]->menu()),
        (std::vector<std::string>{
            "mnuListClear 単語リストのクリア(&C) | 単語リストをクリアします",
            "mnuFListClear お題のクリア(&L) | 選出された二つのお題をクリアします", "Bar4 - | ",
            "mnuRandom ランダムを再生成(&R) | 現時刻より、ランダムを再生成します", "Bar8 - | ",
            "mnuNoRepeats 重複なしで選出(&U) | 全ての語句が選出されるまで、同じ語句を選出しません",
            "mnuDrawHistory お題の履歴(&H) | 今回の起動中に選出したお題の履歴を表示します",
            "Bar9 - | ", "mnuPresent お題を大きく表示(&B) | 二つのお題を画面いっぱいに大きく表示します",
            "mnuDarkPresentation 暗い配色で表示(&K) | "
            "お題を大きく表示するとき、黒地に白い文字で表示します"}));
    EXPECT_EQ(titles[3]->text(), QStringLiteral("ヘルプ(&H)"));
    EXPECT_EQ(
        describe(titles[3]->menu()),
        (std::vector<std::string>{"mnuKivoHelp Kivo のヘルプ(&P) | Kivo のヘルプを表示します",
                                  "Bar5 - | Kivo のヘルプを表示します",
                                  "mnuAbout バージョン情報(&A) | Kivo のバージョン情報を表示します",
                                  "mnuNewKivo 最新版を確認(&N) | 開発者ホームページへ接続します"}));
}

TEST_F(MainWindowTest, ContextMenusShareTheEditCommands) {
    EXPECT_EQ(describe(ui(form).PopupMenu1),
              (std::vector<std::string>{
                  "mnuClear 単語リストのクリア(&L) | 単語リストをクリアします", "N1 - | ",
                  "mnuPUCut 切り取り(&X) | 選択部分を切り取り、クリップボードに送ります",
                  "mnuPUCopy コピー(&C) | 選択部分をコピーし、クリップボードに送ります",
                  "mnuPUPaste 貼り付け(&V) | クリップボードの内容を貼り付けます",
                  "mnuSelectAll 全て選択(&A) | リストを全て選択します", "N2 - | ",
                  "mnuPUUndo 元に戻す(&Z) | 直前の変更を元に戻します"}));
    EXPECT_EQ(describe(ui(form).PopupMenu2),
              (std::vector<std::string>{
                  "mnuFListC お題リストのクリア(&C) | 選出された二つのお題をクリアします"}));

    // A command's caption and enabling follow it into every item that shows
    // it, except where the item names its own caption.
    auto* command = form.findChild<QAction*>(QStringLiteral("EditSelectAllCmd"));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), QStringLiteral("すべてを選択(&A)"));
    command->setEnabled(false);
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
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled()) return next;
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
    const std::tuple<QWidget*, QString, QString> controls[] = {
        {ui(form).ButtonOK, "お題の選出", "お題をランダムに選出します"},
        {ui(form).ButtonListClear, "単語リストのクリア", "単語リストをクリアします"},
        {ui(form).Label1, "総数：", "単語の総数です"},
        {ui(form).LabelLineValue, "0", "単語の総数です"},
        {ui(form).Label3, "今回のお題", ""},
        {ui(form).Memo, "単語リスト", "単語リスト"},
        {ui(form).Edit1st, "お題その 1", "お題その 1"},
        {ui(form).GroupBox1, "単語リスト", ""},
    };
    for (const auto& [widget, name, description] : controls) {
        EXPECT_EQ(accessibleText(widget, QAccessible::Name), name)
            << widget->objectName().toStdString();
        EXPECT_EQ(accessibleText(widget, QAccessible::Description), description)
            << widget->objectName().toStdString();
    }
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
