#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "ScriptedBoxes.h"
#include "app/AboutDialog.h"
#include "app/MainWindow.h"

namespace kivo {
namespace {

QColor textColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

// Clicks the box at `at` (box coordinates) on whatever control lies there.
void clickAt(AboutDialog& about, QPoint at) {
    QWidget* target = about.childAt(at);
    if (!target) target = &about;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&about, at));
}

class AboutBoxTest : public ::testing::Test {
protected:
    ScriptedBoxes boxes;
    MainWindow form{boxes};
    AboutDialog about{QString::fromStdString(form.versionText()), &form};

    void SetUp() override { form.setAboutDialog(&about); }
};

TEST_F(AboutBoxTest, IsABorderlessTopMostBoxWithEveryControlInPlace) {
    EXPECT_TRUE(about.isHidden());
    EXPECT_EQ(about.size(), QSize(246, 104));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(about.palette().color(QPalette::Window), about.palette().color(QPalette::Dark));
    EXPECT_EQ(about.Bevel1->geometry(), QRect(0, 0, 246, 104));
    EXPECT_EQ(about.Image1->geometry(), QRect(0, 0, 246, 104));

    // The long name in four pieces, side by side from 32, 12.
    const QLabel* pieces[] = {about.Label1, about.Label5, about.Label6, about.Label7};
    const QColor colours[] = {Qt::white, QColor(0xC0, 0xC0, 0xC0), Qt::white,
                              QColor(0xC0, 0xC0, 0xC0)};
    QString name;
    QPoint at(32, 12);
    for (int i = 0; i < 4; ++i) {
        const QLabel* piece = pieces[i];
        SCOPED_TRACE(piece->objectName().toStdString());
        EXPECT_FALSE(piece->text().isEmpty());
        EXPECT_EQ(piece->pos(), at);
        EXPECT_EQ(piece->size(), piece->sizeHint());
        EXPECT_EQ(piece->font().family(), QStringLiteral("Trebuchet MS"));
        EXPECT_EQ(piece->font().pixelSize(), 24);
        EXPECT_EQ(textColour(piece), colours[i]);
        // Label5 alone lets the box show through.
        EXPECT_EQ(piece->autoFillBackground(), piece != about.Label5);
        name += piece->text();
        at.rx() += piece->width();
    }
    EXPECT_EQ(name, QStringLiteral("Quillery"));

    EXPECT_EQ(about.Label2->text(), QStringLiteral("version 1.33"));
    EXPECT_EQ(about.Label2->pos(), QPoint(140, 48));
    EXPECT_EQ(about.Label2->font().pixelSize(), 13);
    EXPECT_EQ(textColour(about.Label2), QColor(Qt::white));
    EXPECT_EQ(about.Label4->pos(), QPoint(18, 74));
    EXPECT_EQ(about.Label4->font().pixelSize(), 11);
    EXPECT_EQ(textColour(about.Label4), about.palette().color(QPalette::WindowText));
    EXPECT_EQ(about.Label3->pos(), QPoint(163, 80));
    EXPECT_EQ(about.Label3->font().pixelSize(), 11);
    EXPECT_EQ(textColour(about.Label3), QColor(Qt::black));
    // The rights line ends before the credits line begins.
    EXPECT_LT(about.Label4->geometry().right(), about.Label3->x());

    const std::pair<QFrame*, QRect> rules[] = {{about.Panel1, {16, 0, 1, 57}},
                                               {about.Panel2, {16, 56, 105, 2}},
                                               {about.Panel3, {224, 30, 41, 1}}};
    for (const auto& [rule, bounds] : rules) {
        EXPECT_EQ(rule->geometry(), bounds) << rule->objectName().toStdString();
        EXPECT_EQ(rule->palette().color(QPalette::Window), QColor(Qt::white));
    }
}

TEST_F(AboutBoxTest, StackingPutsTheImageOverTheLabelsAndTheRulesOverTheImage) {
    EXPECT_EQ(about.childAt(about.Label2->geometry().center()), about.Image1);
    EXPECT_EQ(about.childAt(about.Label1->geometry().center()), about.Image1);
    EXPECT_EQ(about.childAt(16, 20), about.Panel1);
    EXPECT_EQ(about.childAt(60, 57), about.Panel2);
    EXPECT_EQ(about.childAt(240, 30), about.Panel3);
}

TEST_F(AboutBoxTest, CentresOverTheMainWindowAtEveryShowing) {
    // Integer halves, and never past the screen's top or left edge.
    EXPECT_EQ(AboutDialog::centredOver({100, 50, 403, 262}, {246, 104}), QPoint(178, 129));
    EXPECT_EQ(AboutDialog::centredOver({-300, 10, 403, 262}, {246, 104}), QPoint(0, 89));
    EXPECT_EQ(AboutDialog::centredOver({0, 0, 101, 50}, {246, 104}), QPoint(0, 0));

    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    for (const QPoint& place : {QPoint(120, 80), QPoint(400, 300)}) {
        form.move(place);
        QCoreApplication::processEvents();
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        EXPECT_EQ(about.pos(), AboutDialog::centredOver(form.frameGeometry(), about.size()));
        clickAt(about, {5, 100});
        EXPECT_FALSE(about.isVisible());
    }
}

TEST_F(AboutBoxTest, AClickAnywhereButOnTheThreeRulesCloses) {
    const QRect rules[] = {about.Panel1->geometry(), about.Panel2->geometry(),
                           about.Panel3->geometry()};
    int closes = 0;
    int stays = 0;
    for (int y = 0; y < about.height(); y += 3) {
        for (int x = 0; x < about.width(); x += 5) {
            const QPoint at(x, y);
            const bool onRule = std::any_of(std::begin(rules), std::end(rules),
                                            [&](const QRect& r) { return r.contains(at); });
            about.show();
            clickAt(about, at);
            EXPECT_EQ(about.isVisible(), onRule) << x << "," << y;
            (onRule ? stays : closes)++;
        }
    }
    // Points right on each rule, which the grid may step over.
    for (const QRect& rule : rules) {
        about.show();
        clickAt(about, rule.topLeft());
        EXPECT_TRUE(about.isVisible());
        ++stays;
    }
    EXPECT_GT(closes, 1000);
    EXPECT_GT(stays, 3);
    about.hide();
}

TEST_F(AboutBoxTest, TheHelpMenuShowsItModallyAsOftenAsAskedAndEnterEscOrSpaceClosesIt) {
    QAction* item = form.findChild<QAction*>(QStringLiteral("mnuAbout"));
    ASSERT_NE(item, nullptr);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space}) {
        bool seen = false, closedByKey = false;
        QTimer::singleShot(0, [&] {
            seen = QApplication::activeModalWidget() == &about;
            EXPECT_EQ(about.Label2->text(), QStringLiteral("version 1.33"));
            // Other keys leave it up.
            QTest::keyClick(&about, Qt::Key_A);
            EXPECT_TRUE(about.isVisible());
            QTest::keyClick(&about, key);
            closedByKey = !about.isVisible();
            if (!closedByKey) clickAt(about, about.Label1->geometry().center());
        });
        item->trigger();  // returns once the box has closed
        EXPECT_TRUE(seen) << "key " << key;
        EXPECT_TRUE(closedByKey) << "key " << key;
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), QDialog::Rejected);
    }
}

}  // namespace
}  // namespace kivo
