#pragma once
// The program's own help window: the help document on the right, its
// headings as a contents list on the left.
#include <QWidget>

class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace kivo {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the HTML document at `path` and lists its headings; false, with
    // nothing changed, when the file can't be read.
    bool open(const QString& path);

    QTreeWidget* contents() const { return contents_; }
    QTextBrowser* browser() const { return browser_; }
    // Scrolls the heading of a contents entry to the top of the text.
    void showTopic(const QTreeWidgetItem* item);

private:
    void createContents();

    QTreeWidget* contents_ = nullptr;
    QTextBrowser* browser_ = nullptr;
};

}  // namespace kivo
