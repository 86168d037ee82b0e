#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "ScriptedBoxes.h"
#include "app/KivoApplication.h"
#include "files/FileError.h"

namespace kivo {
namespace {

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
