#pragma once
// The draw modes and the history of draws in the Qt window: the drawer with
// its ports (Qt's settings, the local clock, the boxes and topic fields) and
// the history window, made when first asked for.
#include <QObject>
#include <QPointer>
#include <memory>

#include "wordlist/TopicDrawer.h"

class QLineEdit;
class QWidget;

namespace kivo {

class Boxes;
class DrawHistoryWindow;
class MemoControl;

class DrawSession : public QObject {
public:
    DrawSession(Boxes& boxes, QWidget* mainWindow);
    ~DrawSession() override;

    bool noRepeats() const { return drawer_.noRepeats(); }
    void setNoRepeats(bool on) { drawer_.setNoRepeats(on); }
    // Any change to the list's text starts the pool again.
    void watchList(MemoControl& memo);
    // The topic button's draw, shown in the plain message box or the fields.
    void draw(const WordListSource& list, RandomGenerator& random, QLineEdit& topic1,
              QLineEdit& topic2);
    // Shows the history window, making it the first time.
    void showHistory();

private:
    Boxes& boxes_;
    QWidget* mainWindow_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<WallClock> clock_;
    TopicDrawer drawer_;
    QPointer<DrawHistoryWindow> historyWindow_;
};

}  // namespace kivo
