#include "win32/Win32WindowPorts.h"

#include <algorithm>

#include "files/ListExport.h"
#include "win32/AboutBox.h"
#include "win32/AnchorLayout.h"
#include "win32/Clipboard.h"
#include "win32/DrawHistoryWindow.h"
#include "win32/HintLine.h"
#include "win32/SystemPrinter.h"
#include "win32/Wide.h"
#include "win32/WindowMenus.h"
#include "wordlist/TopicDraw.h"

namespace kivo::win32 {
void Win32WindowPorts::setCaption(const std::string& caption) {
    SetWindowTextW(controls_.window, wide(caption).c_str());
}

void Win32WindowPorts::showLineCount(const std::string& count) {
    // Every caret move refreshes the count; only a new count is drawn.
    const std::wstring text = wide(count);
    wchar_t shown[32] = {};
    GetWindowTextW(controls_.count, shown, 32);
    if (text == shown) return;
    SetWindowTextW(controls_.count, text.c_str());
    // The label's width follows its text.
    controls_.layout->layOut();
}

void Win32WindowPorts::showTopics(const DrawnTopics& topics) {
    for (std::size_t k = 0; k < controls_.topics.size(); ++k) {
        const bool drawn = k < topics.size();
        SetWindowTextW(controls_.topics[k], drawn ? wide(topics[k].text).c_str() : L"");
        const bool headed = drawn && !topics[k].heading.empty();
        SetWindowTextW(controls_.headings[k],
                       headed ? wide(bracketedHeading(topics[k].heading)).c_str() : L"");
    }
}

void Win32WindowPorts::clearTopics() { showTopics({}); }

void Win32WindowPorts::showTopicArea(const TopicArea& area) {
    controls_.layout->showTopicArea(area);
    controls_.menus->showTopicCount(area.topics);
}

void Win32WindowPorts::historyChanged() {
    // A closed history window catches up when it is opened again.
    if (controls_.history->isVisible()) controls_.history->refresh();
}

void Win32WindowPorts::copyToClipboard(const std::string& text) {
    putOnClipboard(controls_.window, wide(withCarriageReturns(text)));
}

void Win32WindowPorts::showBusy(bool busy) {
    busy_ += busy ? 1 : -1;
    // The window answers WM_SETCURSOR with the wait cursor while busy; this
    // shows it at once, as no message is handled meanwhile.
    SetCursor(LoadCursorW(nullptr, busy_ > 0 ? IDC_WAIT : IDC_ARROW));
}

void Win32WindowPorts::closeWindow() { DestroyWindow(controls_.window); }

void Win32WindowPorts::showDrawHistory() { controls_.history->show(); }

void Win32WindowPorts::showChecked(CommandId command, bool on) {
    CheckMenuItem(controls_.menuBar, static_cast<UINT>(command),
                  MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void Win32WindowPorts::lowerTopMost() {
    if (++topMostLowered_ != 1) return;
    // The program's top-most windows (the About box) step aside; the main
    // window never is one.
    const HWND about = controls_.about->handle();
    if (GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_TOPMOST) {
        SetWindowPos(about, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        lowered_.push_back(about);
    }
}

void Win32WindowPorts::raiseTopMost() {
    if (topMostLowered_ == 0 || --topMostLowered_ != 0) return;
    for (HWND window : lowered_) {
        if (IsWindow(window)) {
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    lowered_.clear();
}

std::int64_t CountdownTimer::milliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

void CountdownTimer::wakeAfter(int milliseconds) {
    // A timer set again replaces the one before.
    SetTimer(controls_.window, kTimerId,
             static_cast<UINT>(std::max<int>(milliseconds, USER_TIMER_MINIMUM)), nullptr);
}

void CountdownTimer::stopWaking() { KillTimer(controls_.window, kTimerId); }

template <typename Run>
auto ModalParts::modal(Run&& run) {
    const HintLine::ModalOpen open(hints_);
    return run();
}

BoxAnswer ModalParts::confirm(const std::string& text) {
    return modal([&] { return boxes_.confirm(text); });
}
void ModalParts::warning(const std::string& text) {
    modal([&] { boxes_.warning(text); });
}
void ModalParts::message(const std::string& text) {
    modal([&] { boxes_.message(text); });
}
void ModalParts::error(const std::string& text) {
    modal([&] { boxes_.error(text); });
}
bool ModalParts::askYesNo(const std::string& caption, const std::string& text) {
    return modal([&] { return boxes_.askYesNo(caption, text); });
}
std::optional<std::string> ModalParts::openFile(const DialogSettings& settings) {
    return modal([&] { return dialogs_.openFile(settings); });
}
std::optional<std::string> ModalParts::saveFile(const DialogSettings& settings) {
    return modal([&] { return dialogs_.saveFile(settings); });
}
std::optional<ShareSettings> ModalParts::editShareSettings(const ShareSettings& settings) {
    return modal([&] { return shareDialogs_->editShareSettings(settings); });
}
std::optional<int> ModalParts::askTimerMinutes(int minutes) {
    return modal([&] { return shareDialogs_->askTimerMinutes(minutes); });
}
void ModalParts::showAbout() {
    modal([&] { about_->showModal(); });
}
bool ModalParts::setUpPrinter() {
    return modal([&] { return printer_->setUpPrinter(); });
}
void ModalParts::printList() { printer_->printList(); }

}  // namespace kivo::win32
