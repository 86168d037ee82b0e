#include "app/QtWindowPorts.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>

#include "app/AboutDialog.h"
#include "app/DrawHistoryWindow.h"
#include "app/HintLine.h"
#include "app/WindowMenus.h"
#include "wordlist/TopicDraw.h"

namespace kivo {
namespace {

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtWindowPorts::QtWindowPorts(const QtWindowControls& controls, std::function<TopicDrawer&()> drawer)
    : controls_(controls), drawer_(std::move(drawer)) {}

QtWindowPorts::~QtWindowPorts() {
    // The history window reads the draws; it goes before they do.
    delete history_.data();
}

void QtWindowPorts::setCaption(const std::string& caption) {
    // The toolkit takes "[*]" in a title for its modified mark and leaves it
    // out; doubled, it shows once, so a file named with it keeps its name.
    controls_.window->setWindowTitle(
        qt(caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void QtWindowPorts::showLineCount(const std::string& count) { controls_.count->setText(qt(count)); }

void QtWindowPorts::showTopics(const DrawnTopics& topics) {
    for (std::size_t k = 0; k < controls_.topics.size(); ++k) {
        const bool drawn = k < topics.size();
        controls_.topics[k]->setText(drawn ? qt(topics[k].text) : QString());
        const bool headed = drawn && !topics[k].heading.empty();
        controls_.headings[k]->setText(headed ? qt(bracketedHeading(topics[k].heading))
                                              : QString());
        // A heading label is named by what it shows, by its hint while empty.
        QLabel* label = controls_.headings[k];
        label->setAccessibleName(label->text().isEmpty() ? HintLine::hintOf(label) : label->text());
    }
}

void QtWindowPorts::clearTopics() { showTopics({}); }

void QtWindowPorts::showTopicArea(const TopicArea& area) { controls_.layOutTopics(area); }

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

void QtWindowPorts::copyToClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void QtWindowPorts::closeWindow() { controls_.window->close(); }

void QtWindowPorts::showDrawHistory() {
    if (!history_) history_ = new DrawHistoryWindow(drawer_(), controls_.window, controls_.run);
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
