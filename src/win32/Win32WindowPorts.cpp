#include "win32/Win32WindowPorts.h"

#include "commands/TopicCommands.h"
#include "win32/AboutBox.h"
#include "win32/DrawHistoryWindow.h"
#include "win32/TMainForm.h"
#include "win32/Wide.h"

namespace kivo::win32 {

template <typename Run>
auto Win32WindowPorts::modal(Run&& run) {
    const HintLine::ModalOpen open(form_.hintLine_);
    return run();
}

// ---- The word list --------------------------------------------------------

void Win32WindowPorts::focusList() { SetFocus(form_.Memo); }
std::uint32_t Win32WindowPorts::count() const { return form_.list_->count(); }
std::string Win32WindowPorts::line(std::uint32_t i) const { return form_.list_->line(i); }
std::size_t Win32WindowPorts::capacity() const { return form_.list_->capacity(); }
ListCosts Win32WindowPorts::listCosts() const { return MemoControl::costs(); }
void Win32WindowPorts::clearList() { form_.list_->clearList(); }
void Win32WindowPorts::loadWholeText(StyledText text) { form_.list_->loadWholeText(text); }
void Win32WindowPorts::appendText(std::string_view lines) { form_.list_->appendText(lines); }
bool Win32WindowPorts::isModified() const { return form_.list_->isModified(); }
void Win32WindowPorts::setModified(bool modified) { form_.list_->setModified(modified); }
std::vector<std::string> Win32WindowPorts::lines() const { return form_.list_->lines(); }
void Win32WindowPorts::setLines(const std::vector<std::string>& lines) {
    form_.list_->setLines(lines);
}
std::string Win32WindowPorts::text() const { return form_.list_->text(); }
StyledText Win32WindowPorts::styledText() const { return form_.list_->styledText(); }
bool Win32WindowPorts::hasSelection() const { return form_.list_->hasSelection(); }
std::string Win32WindowPorts::selectedText() const { return form_.list_->selectedText(); }
void Win32WindowPorts::replaceSelection(std::string_view text) {
    form_.list_->replaceSelection(text);
}
void Win32WindowPorts::cut() { form_.list_->cut(); }
void Win32WindowPorts::copy() { form_.list_->copy(); }
std::string Win32WindowPorts::clipboardText() const { return MemoControl::clipboardText(); }
void Win32WindowPorts::paste() { form_.list_->paste(); }
void Win32WindowPorts::selectAll() { form_.list_->selectAll(); }
void Win32WindowPorts::undo() { form_.list_->undo(); }

// ---- The rest of the window -----------------------------------------------

void Win32WindowPorts::setCaption(const std::string& caption) {
    SetWindowTextW(form_.hwnd_, wide(caption).c_str());
}

void Win32WindowPorts::showLineCount(const std::string& count) {
    // Every caret move refreshes the count; only a new count is drawn.
    const std::wstring text = wide(count);
    wchar_t shown[32] = {};
    GetWindowTextW(form_.LabelLineValue, shown, 32);
    if (text == shown) return;
    SetWindowTextW(form_.LabelLineValue, text.c_str());
    // The label's width follows its text.
    form_.layout_.layOut();
}

void Win32WindowPorts::showTopics(const std::string& topic1, const std::string& topic2) {
    SetWindowTextW(form_.Edit1st, wide(topic1).c_str());
    SetWindowTextW(form_.Edit2nd, wide(topic2).c_str());
}

void Win32WindowPorts::clearTopics() {
    SetWindowTextW(form_.Edit1st, L"");
    SetWindowTextW(form_.Edit2nd, L"");
}

std::array<std::string, 2> Win32WindowPorts::shownTopics() const {
    const auto textOf = [](HWND edit) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        return utf8(text);
    };
    return {textOf(form_.Edit1st), textOf(form_.Edit2nd)};
}

void Win32WindowPorts::historyChanged() {
    // A closed history window catches up when it is opened again.
    if (form_.history_->isVisible()) form_.history_->refresh();
}

void Win32WindowPorts::showBusy(bool busy) {
    form_.busy_ += busy ? 1 : -1;
    // The window answers WM_SETCURSOR with the wait cursor while busy; this
    // shows it at once, as no message is handled meanwhile.
    SetCursor(LoadCursorW(nullptr, form_.busy_ > 0 ? IDC_WAIT : IDC_ARROW));
}

// ---- What the window does itself -----------------------------------------

void Win32WindowPorts::closeWindow() { DestroyWindow(form_.hwnd_); }

void Win32WindowPorts::showDrawHistory() { form_.history_->show(); }

void Win32WindowPorts::showNoRepeats(bool on) {
    CheckMenuItem(form_.menuBar_, static_cast<UINT>(CommandId::NoRepeats),
                  MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void Win32WindowPorts::showDarkPresentation(bool on) {
    CheckMenuItem(form_.menuBar_, static_cast<UINT>(CommandId::DarkPresentation),
                  MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

// ---- Boxes and dialogs ----------------------------------------------------

BoxAnswer Win32WindowPorts::confirm(const std::string& text) {
    return modal([&] { return form_.parts_.boxes->confirm(text); });
}
void Win32WindowPorts::warning(const std::string& text) {
    modal([&] { form_.parts_.boxes->warning(text); });
}
void Win32WindowPorts::message(const std::string& text) {
    modal([&] { form_.parts_.boxes->message(text); });
}
void Win32WindowPorts::error(const std::string& text) {
    modal([&] { form_.parts_.boxes->error(text); });
}
bool Win32WindowPorts::askYesNo(const std::string& caption, const std::string& text) {
    return modal([&] { return form_.parts_.boxes->askYesNo(caption, text); });
}
std::optional<std::string> Win32WindowPorts::openFile(const DialogSettings& settings) {
    return modal([&] { return form_.parts_.dialogs->openFile(settings); });
}
std::optional<std::string> Win32WindowPorts::saveFile(const DialogSettings& settings) {
    return modal([&] { return form_.parts_.dialogs->saveFile(settings); });
}

// ---- Help, About, the browser, the top-most windows, the printer ----------

void Win32WindowPorts::showHelpContents() { form_.help_->showHelpContents(); }
void Win32WindowPorts::showAbout() {
    modal([&] { form_.FormAbout->showModal(); });
}
void Win32WindowPorts::openUrl(const std::string& url) { form_.parts_.urls->openUrl(url); }

void Win32WindowPorts::lowerTopMost() {
    if (++form_.topMostLowered_ != 1) return;
    // The program's top-most windows (the About box) step aside; the main
    // window never is one.
    const HWND about = form_.FormAbout->handle();
    if (GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_TOPMOST) {
        SetWindowPos(about, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        form_.lowered_.push_back(about);
    }
}

void Win32WindowPorts::raiseTopMost() {
    if (form_.topMostLowered_ == 0 || --form_.topMostLowered_ != 0) return;
    for (HWND window : form_.lowered_) {
        if (IsWindow(window)) {
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    form_.lowered_.clear();
}

bool Win32WindowPorts::setUpPrinter() {
    return modal([&] { return form_.printer_->setUpPrinter(); });
}
void Win32WindowPorts::printList() { form_.printer_->printList(); }

// ---- Settings and clock ---------------------------------------------------

std::optional<bool> Win32WindowPorts::readBool(const std::string& key) {
    return form_.parts_.settings->readBool(key);
}
void Win32WindowPorts::writeBool(const std::string& key, bool value) {
    form_.parts_.settings->writeBool(key, value);
}
LocalTime Win32WindowPorts::now() { return form_.clock_.now(); }

}  // namespace kivo::win32
