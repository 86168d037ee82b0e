#pragma once
// The main window's controls, found by the names they carry, for tests that
// act on them as a user would.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include "app/MainWindow.h"
#include "commands/Session.h"
#include "platform/MemoControl.h"

namespace kivo {

struct FormControls {
    QStatusBar* StatusBar;
    QLabel* StatusPanel0;
    QGroupBox* GroupBox1;
    MemoControl* Memo;
    QPushButton* ButtonOK;
    QPushButton* ButtonListClear;
    QLabel* Label3;
    QLabel* Label1;
    QLabel* LabelLineValue;
    QLineEdit* Edit1st;
    QLineEdit* Edit2nd;
    QMenu* PopupMenu1;
    QMenu* PopupMenu2;
};

inline FormControls ui(const MainWindow& form) {
    const auto find = [&form]<typename T>(T*, const char* name) {
        T* control = form.findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(control);
        return control;
    };
    return {
        find((QStatusBar*)nullptr, "StatusBar"),  find((QLabel*)nullptr, "StatusPanel0"),
        find((QGroupBox*)nullptr, "GroupBox1"),   find((MemoControl*)nullptr, "Memo"),
        find((QPushButton*)nullptr, "ButtonOK"),  find((QPushButton*)nullptr, "ButtonListClear"),
        find((QLabel*)nullptr, "Label3"),         find((QLabel*)nullptr, "Label1"),
        find((QLabel*)nullptr, "LabelLineValue"), find((QLineEdit*)nullptr, "Edit1st"),
        find((QLineEdit*)nullptr, "Edit2nd"),     find((QMenu*)nullptr, "PopupMenu1"),
        find((QMenu*)nullptr, "PopupMenu2")};
}

}  // namespace kivo
