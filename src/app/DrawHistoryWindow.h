#pragma once
// A small window over the main window listing every draw of this run,
// latest first, with its time and both topics. The history can be copied as
// text and cleared from here. It stays open beside the main window and
// follows each new draw.
#include <QDialog>
#include <functional>

#include "commands/WindowLayout.h"

class QPushButton;
class QTableView;

namespace kivo {

class DrawHistoryModel;
class TopicDrawer;

class DrawHistoryWindow : public QDialog {
    Q_OBJECT
public:
    // `run` runs a command as the main window's runner does (the CSV
    // button's).
    DrawHistoryWindow(TopicDrawer& drawer, QWidget* mainWindow, std::function<void(CommandId)> run);
    ~DrawHistoryWindow() override;

    // Shows the history as it now is.
    void refresh();

    QTableView* List = nullptr;
    QPushButton* ButtonCopy = nullptr;
    QPushButton* ButtonClear = nullptr;
    QPushButton* ButtonCsv = nullptr;
    QPushButton* ButtonClose = nullptr;

    void copyHistory();
    void clearHistory();

private:
    TopicDrawer& drawer_;
    std::function<void(CommandId)> run_;
    DrawHistoryModel* model_ = nullptr;
};

}  // namespace kivo
