#include "platform/MemoListPort.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/MemoControl.h"

namespace kivo {

void MemoListPort::focusList() { memo_.setFocus(); }

std::uint32_t MemoListPort::count() const {
    return static_cast<std::uint32_t>(memo_.count());
}

std::string MemoListPort::line(std::uint32_t i) const {
    return memo_.line(static_cast<int>(i)).toStdString();
}

std::size_t MemoListPort::capacity() const {
    return static_cast<std::size_t>(memo_.capacity());
}

void MemoListPort::clearList() { memo_.clearList(); }

ListCosts MemoListPort::listCosts() const { return memo_.costs(); }

void MemoListPort::loadWholeText(StyledText text) {
    memo_.setStyledUtf8(text.text, text.ranges);
    memo_.setCapacity(kRaisedCapacity);
}

void MemoListPort::appendText(std::string_view lines) { memo_.appendUtf8(lines); }

std::unique_ptr<ListReplacement> MemoListPort::replaceList() { return memo_.replacement(); }

bool MemoListPort::isModified() const { return memo_.isModified(); }

void MemoListPort::setModified(bool modified) { memo_.setModified(modified); }

std::vector<std::string> MemoListPort::lines() const { return memo_.lines(); }

void MemoListPort::setLines(const std::vector<std::string>& lines) { memo_.setLines(lines); }

std::string MemoListPort::text() const { return memo_.utf8Text(); }

StyledText MemoListPort::styledText() const { return memo_.styledText(); }

bool MemoListPort::hasSelection() const { return memo_.hasSelection(); }

std::string MemoListPort::selectedText() const { return memo_.selectedListText(); }

void MemoListPort::replaceSelection(std::string_view text) {
    memo_.replaceSelectionWithoutUndo(text);
}

void MemoListPort::cut() { memo_.cut(); }

void MemoListPort::copy() { memo_.copy(); }

std::string MemoListPort::clipboardText() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

void MemoListPort::paste() { memo_.paste(); }

void MemoListPort::selectAll() { memo_.selectAll(); }

void MemoListPort::undo() { memo_.undo(); }

}  // namespace kivo
