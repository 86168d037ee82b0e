#pragma once
// The About box: a small borderless top-most window, created at start-up
// after the main window and hidden until asked for. It takes the version
// text from the main window when created and is shown modally, centred over
// the main window, as often as the user likes; a click closes it, and so do
// Enter, Esc and Space.
#include <QDialog>
#include <QPointer>

#include "commands/WindowLayout.h"

class QFrame;
class QLabel;

namespace kivo {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = kAboutWidth;
    static constexpr int kHeight = kAboutHeight;

    // `mainWindow` is the window the box centres over and belongs to.
    explicit AboutDialog(const QString& versionText, QWidget* mainWindow = nullptr);

    // Where a box of `size` goes over a main window with outer bounds
    // `mainFrame`: centred, but never left of or above the screen origin.
    static QPoint centredOver(const QRect& mainFrame, const QSize& size);

    // Controls, bottom to top.
    QWidget* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QWidget* Image1 = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;

    void showVersion();
    void closeBox();

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createBackground();
    void createLabels();
    void createRules();

    QString versionText_;
    QPointer<QWidget> mainWindow_;
};

}  // namespace kivo
