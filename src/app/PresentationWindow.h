#pragma once
// The presentation view of the Qt window: the topics large, full
// screen on the main window's screen, or a window of its own that a stream
// can capture. It measures characters and paints where fitPresentation puts
// the lines; its keys run commands (PresentationCommands).
#include <QFontMetricsF>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "commands/Ports.h"
#include "commands/PresentationLayout.h"
#include "commands/WindowLayout.h"

namespace kivo {

class PresentationWindow : public QWidget, public PresentationPort {
    Q_OBJECT
public:
    // `owner` is the main window, whose screen the view opens on; `run`
    // runs a command as the main window's runner does.
    PresentationWindow(QWidget* owner, std::function<void(CommandId)> run);

    void showPresentation(const DrawnTopics& topics, PresentationTheme theme) override;
    void updatePresentation(const DrawnTopics& topics) override;
    void setPresentationTheme(PresentationTheme theme) override;
    void setPresentationFullScreen(bool fullScreen) override;
    void closePresentation() override;
    bool presentationOpen() const override { return isVisible(); }
    void showCountdown(const CountdownFace& face) override;
    void countdownEnded(const std::string& announcement) override;

    // What is painted, for the window's tests.
    const PresentationLayout& presentationLayout() const { return layout_; }
    const CountdownFace& countdownFace() const { return face_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void layOut();
    void showPointer();
    // A screen reader reads the view's name out: a new name tells it by
    // itself; the same name is told once more.
    void tellName(const QString& name);

    QWidget* owner_;
    std::function<void(CommandId)> run_;
    DrawnTopics topics_;
    PresentationTheme theme_ = PresentationTheme::Light;
    CountdownFace face_;
    PresentationLayout layout_;
    QFontMetricsF metrics_;
    MeasuredWidths widths_;
    QTimer pointerTimer_;
};

}  // namespace kivo
