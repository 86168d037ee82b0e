#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "ScriptedBoxes.h"
#include "app/ErrorReporting.h"
#include "app/KivoApplication.h"
#include "files/FileError.h"

namespace kivo {
namespace {

TEST(ErrorReporting, ErrorsReachTheErrorBoxAndSilentCancelsNothing) {
    ScriptedBoxes boxes;
    bool after = false;
    runCommand(boxes, [&] {
        throw SilentCancel();
        after = true;
    });
    EXPECT_TRUE(boxes.shown.empty());
    runCommand(boxes, [] { throw FileError(kAccessDenied); });
    runCommand(boxes, [] { throw std::runtime_error("I/O エラー (5)"); });
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].kind, ScriptedBoxes::Shown::Error);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("ファイルへのアクセスが拒否されました."));
    EXPECT_EQ(boxes.shown[1].text, QStringLiteral("I/O エラー (5)"));
    EXPECT_FALSE(after);
}

TEST(ErrorReporting, RunningOutOfMemoryIsToldFromMemoryHeldBackAndNeverFailsTwice) {
    // Boxes that, like a box built when memory is gone, fail while showing.
    struct FailingBoxes : ScriptedBoxes {
        int failures = 0;
        bool reserveHeldWhileShowing = true;
        void error(const QString& text) override {
            reserveHeldWhileShowing = memoryReserveHeld();
            if (failures-- > 0) throw std::bad_alloc();
            ScriptedBoxes::error(text);
        }
    };
    holdMemoryReserve();
    FailingBoxes boxes;
    runCommand(boxes, [] { throw std::bad_alloc(); });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("メモリが不足しています."));
    EXPECT_FALSE(boxes.reserveHeldWhileShowing);
    EXPECT_TRUE(memoryReserveHeld());
    // Showing an ordinary error fails for want of memory: the user hears of
    // the memory instead; when that box fails too, the program goes on.
    boxes.failures = 1;
    runCommand(boxes, [] { throw std::runtime_error("x"); });
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, boxes.shown[0].text);
    boxes.failures = 2;
    runCommand(boxes, [] { throw std::bad_alloc(); });
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(memoryReserveHeld());
}

// Finds the box once it is up, records it and presses its button.
struct BoxProbe {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool escapeIsDefault = false;

    void armAndPressEscape() {
        QTimer::singleShot(50, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            escapeIsDefault =
                box->escapeButton() == static_cast<QAbstractButton*>(box->defaultButton());
            box->escapeButton()->click();
        });
    }
};

TEST(ErrorReporting, RealBoxesCarryTheTitleIconAndOneOk) {
    QtBoxes boxes;
    BoxProbe plain;
    plain.armAndPressEscape();
    boxes.message(QStringLiteral("ランダムを再生成しました"));
    EXPECT_EQ(plain.caption, QStringLiteral("Kivo version 1.33"));
    EXPECT_EQ(plain.text, QStringLiteral("ランダムを再生成しました"));
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_TRUE(plain.escapeIsDefault);

    BoxProbe error;
    error.armAndPressEscape();
    boxes.error(QStringLiteral("ディスクがいっぱいです."));
    EXPECT_EQ(error.caption, QStringLiteral("Kivo version 1.33"));
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QStringList{QStringLiteral("OK")});
}

TEST(ErrorReporting, BoxesOfAnyLengthAreCentredOnTheScreen) {
    QtBoxes boxes;
    const QString longPath = QStringLiteral("/home/user/") +
                             QStringLiteral("単語リストの保存先/").repeated(12) +
                             QString(60, QLatin1Char('a')) + QStringLiteral(".txt");
    for (const QString& text : {QStringLiteral("短い"), longPath}) {
        QRect box, screen;
        QTimer::singleShot(50, [&] {
            auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!shown) return;
            box = shown->frameGeometry();
            screen = shown->screen()->availableGeometry();
            shown->escapeButton()->click();
        });
        boxes.confirm(text + QStringLiteral(" は既に存在します。\r\n上書きしますか？"));
        ASSERT_FALSE(box.isNull());
        EXPECT_TRUE(screen.contains(box)) << text.size();
        EXPECT_LE((box.center() - screen.center()).manhattanLength(), 2) << text.size();
    }
}

// An exception thrown by an event handler outside any command still ends in
// the error box, and the program goes on.
class ThrowingObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw FileError(kDiskFull);
        return QObject::event(e);
    }
};

TEST(ErrorReporting, TheApplicationCatchesWhatEscapesAnEventHandler) {
    auto* app = qobject_cast<KivoApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    auto scripted = std::make_unique<ScriptedBoxes>();
    ScriptedBoxes* boxes = scripted.get();
    app->setBoxes(std::move(scripted));
    ThrowingObject target;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&target, &event);
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, QStringLiteral("ディスクがいっぱいです."));
    app->setBoxes(std::make_unique<QtBoxes>());
}

}  // namespace
}  // namespace kivo
