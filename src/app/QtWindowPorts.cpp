#include "app/QtWindowPorts.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>

#include "app/AboutDialog.h"
#include "app/DrawHistoryWindow.h"
#include "app/WindowMenus.h"

namespace kivo {
namespace {

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtWindowPorts::QtWindowPorts(const QtWindowControls& controls,
                             std::function<TopicDrawer&()> drawer)
    : controls_(controls), drawer_(std::move(drawer)) {}

QtWindowPorts::~QtWindowPorts() {
    // The history window reads the draws; it goes before they do.
    delete history_.data();
}

void QtWindowPorts::setCaption(const std::string& caption) {
    // The toolkit takes "[*]" in a title for its modified mark and leaves it
    // out; doubled, it shows once, so a file named with it keeps its name.
    controls_.window->setWindowTitle(qt(caption).replace(QStringLiteral("[*]"),
                                                         QStringLiteral("[*][*]")));
}

void QtWindowPorts::showLineCount(const std::string& count) { controls_.count->setText(qt(count)); }

void QtWindowPorts::showTopics(const std::string& topic1, const std::string& topic2) {
    controls_.firstTopic->setText(qt(topic1));
    controls_.secondTopic->setText(qt(topic2));
}

void QtWindowPorts::clearTopics() {
    controls_.firstTopic->clear();
    controls_.secondTopic->clear();
}

void QtWindowPorts::historyChanged() {
    // A hidden window catches up when it is shown again.
    if (history_ && history_->isVisible()) history_->refresh();
}

void QtWindowPorts::showBusy(bool busy) {
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

void QtWindowPorts::closeWindow() { controls_.window->close(); }

void QtWindowPorts::showDrawHistory() {
    if (!history_) history_ = new DrawHistoryWindow(drawer_(), controls_.window);
    history_->refresh();
    history_->show();
    history_->raise();
    history_->activateWindow();
}

void QtWindowPorts::showChecked(CommandId command, bool on) {
    if (QAction* item = controls_.menus->itemOf(command)) item->setChecked(on);
}

void QtWindowPorts::showAbout() {
    if (controls_.about) controls_.about->exec();
}

}  // namespace kivo
