#pragma once
// A small window over the main window listing every draw of this run,
// latest first, with its time and both topics. The history can be copied as
// text and cleared from here. It stays open beside the main window and
// follows each new draw.
#include <QDialog>

class QPushButton;
class QTableView;

namespace kivo {

class DrawHistoryModel;
class TopicDrawer;

class DrawHistoryWindow : public QDialog {
    Q_OBJECT
public:
    DrawHistoryWindow(TopicDrawer& drawer, QWidget* mainWindow);
    ~DrawHistoryWindow() override;

    // Shows the history as it now is.
    void refresh();

    QTableView* List = nullptr;
    QPushButton* ButtonCopy = nullptr;
    QPushButton* ButtonClear = nullptr;
    QPushButton* ButtonClose = nullptr;

    void copyHistory();
    void clearHistory();

private:
    TopicDrawer& drawer_;
    DrawHistoryModel* model_ = nullptr;
};

}  // namespace kivo
