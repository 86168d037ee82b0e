#pragma once
// The program's own top-most windows (the About box), stepped out of the
// way while something outside the program should come to the front: the
// browser after the update check, the help window. Lowering nests: only the
// first lower acts, and only the raise that brings the count back to 0
// restores what it lowered.
#include <QPointer>
#include <QWidget>
#include <vector>

#include "commands/Ports.h"

namespace kivo {

class TopMostWindows {
public:
    // Makes every top-most top-level window of the program except
    // `mainWindow` an ordinary one, and remembers them.
    void lower(const QWidget* mainWindow);
    // Undoes the matching lower; at 0 it does nothing.
    void raise();

    // How many lowers are still waiting for their raise.
    int level() const { return level_; }
    static bool isTopMost(const QWidget* window);

private:
    int level_ = 0;
    std::vector<QPointer<QWidget>> lowered_;
};

// The top-most windows as the commands step them aside: all but the main
// window, counted for the whole run.
class TopMostWindowsPort : public TopMostPort {
public:
    explicit TopMostWindowsPort(const QWidget& mainWindow) : mainWindow_(mainWindow) {}
    const TopMostWindows& windows() const { return windows_; }

    void lowerTopMost() override { windows_.lower(&mainWindow_); }
    void raiseTopMost() override { windows_.raise(); }

private:
    const QWidget& mainWindow_;
    TopMostWindows windows_;
};

}  // namespace kivo
