#include "app/QtWindowPorts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "about/Auxiliaries.h"
#include "about/TFormAbout.h"
#include "app/DrawHistoryWindow.h"
#include "app/TMainForm.h"
#include "commands/TopicCommands.h"
#include "platform/Boxes.h"
#include "platform/ListPrintDocument.h"
#include "platform/MemoControl.h"

namespace kivo {
namespace {

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// ---- The word list --------------------------------------------------------

void QtWindowPorts::focusList() { form_.Memo->setFocus(); }

std::uint32_t QtWindowPorts::count() const {
    return static_cast<std::uint32_t>(form_.Memo->count());
}

std::string QtWindowPorts::line(std::uint32_t i) const {
    return form_.Memo->line(static_cast<int>(i)).toStdString();
}

std::size_t QtWindowPorts::capacity() const {
    return static_cast<std::size_t>(form_.Memo->capacity());
}

void QtWindowPorts::clearList() { form_.Memo->clearList(); }

ListCosts QtWindowPorts::listCosts() const { return form_.Memo->costs(); }

void QtWindowPorts::loadWholeText(StyledText text) {
    form_.Memo->setStyledUtf8(text.text, text.ranges);
    form_.Memo->setCapacity(kRaisedCapacity);
}

void QtWindowPorts::appendText(std::string_view lines) { form_.Memo->appendUtf8(lines); }

std::unique_ptr<ListReplacement> QtWindowPorts::replaceList() { return form_.Memo->replacement(); }

bool QtWindowPorts::isModified() const { return form_.Memo->isModified(); }

void QtWindowPorts::setModified(bool modified) { form_.Memo->setModified(modified); }

std::vector<std::string> QtWindowPorts::lines() const { return form_.Memo->lines(); }

void QtWindowPorts::setLines(const std::vector<std::string>& lines) { form_.Memo->setLines(lines); }

std::string QtWindowPorts::text() const { return form_.Memo->utf8Text(); }

StyledText QtWindowPorts::styledText() const { return form_.Memo->styledText(); }

bool QtWindowPorts::hasSelection() const { return form_.Memo->hasSelection(); }

std::string QtWindowPorts::selectedText() const { return form_.Memo->selectedListText(); }

void QtWindowPorts::replaceSelection(std::string_view text) {
    form_.Memo->replaceSelectionWithoutUndo(text);
}

void QtWindowPorts::cut() { form_.Memo->cut(); }

void QtWindowPorts::copy() { form_.Memo->copy(); }

std::string QtWindowPorts::clipboardText() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtWindowPorts::paste() { form_.Memo->paste(); }

void QtWindowPorts::selectAll() { form_.Memo->selectAll(); }

void QtWindowPorts::undo() { form_.Memo->undo(); }

// ---- The rest of the window -----------------------------------------------

void QtWindowPorts::setCaption(const std::string& caption) { form_.setWindowTitle(qt(caption)); }

void QtWindowPorts::showLineCount(const std::string& count) {
    form_.LabelLineValue->setText(qt(count));
}

void QtWindowPorts::showTopics(const std::string& topic1, const std::string& topic2) {
    form_.Edit1st->setText(qt(topic1));
    form_.Edit2nd->setText(qt(topic2));
}

void QtWindowPorts::clearTopics() {
    form_.Edit1st->clear();
    form_.Edit2nd->clear();
}

std::array<std::string, 2> QtWindowPorts::shownTopics() const {
    return {form_.Edit1st->text().toStdString(), form_.Edit2nd->text().toStdString()};
}

void QtWindowPorts::historyChanged() {
    // A hidden window catches up when it is shown again.
    if (form_.historyWindow_ && form_.historyWindow_->isVisible()) form_.historyWindow_->refresh();
}

void QtWindowPorts::showBusy(bool busy) {
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

// ---- Boxes and dialogs ----------------------------------------------------

void QtWindowPorts::closeWindow() { form_.close(); }

void QtWindowPorts::showDrawHistory() {
    if (!form_.historyWindow_) {
        form_.historyWindow_ = new DrawHistoryWindow(form_.topics_->drawer(), &form_);
    }
    form_.historyWindow_->refresh();
    form_.historyWindow_->show();
    form_.historyWindow_->raise();
    form_.historyWindow_->activateWindow();
}

void QtWindowPorts::showNoRepeats(bool on) { form_.mnuNoRepeats->setChecked(on); }

void QtWindowPorts::showDarkPresentation(bool on) { form_.mnuDarkPresentation->setChecked(on); }

// ---- The About box and the printer ---------------------------------------

void QtWindowPorts::showAbout() {
    if (form_.FormAbout) form_.FormAbout->exec();
}

bool QtWindowPorts::setUpPrinter() { return form_.auxiliaries_->printer().setUp(&form_); }

void QtWindowPorts::printList() {
    printStyledList(form_.Memo->styledText(), form_.Memo->font(),
                    form_.auxiliaries_->printer().printer());
}

}  // namespace kivo
