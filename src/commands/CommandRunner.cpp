#include "commands/CommandRunner.h"

#include <memory>
#include <new>
#include <string>

#include "commands/CommandErrors.h"

namespace kivo {
namespace {

// Enough for a message box and the painting of it.
constexpr std::size_t kReserveBytes = 16 * 1024 * 1024;

std::unique_ptr<char[]>& reserve() {
    static std::unique_ptr<char[]> bytes;
    return bytes;
}

// Made before it is needed: the moment it is needed is the moment
// allocations fail.
const std::string& outOfMemoryText() {
    static const std::string text = errorBoxText("メモリが不足しています");
    return text;
}

void reportOutOfMemory(BoxPort& boxes) noexcept {
    reserve().reset();
    try {
        boxes.error(outOfMemoryText());
    } catch (...) {
        // Not even the box could be shown; the program goes on regardless.
    }
    holdMemoryReserve();
}

void showError(BoxPort& boxes, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        reportOutOfMemory(boxes);
        return;
    } catch (...) {
    }
    if (const std::optional<std::string> text = commandErrorText(error)) boxes.error(*text);
}

}  // namespace

void holdMemoryReserve() noexcept {
    outOfMemoryText();
    if (reserve()) return;
    try {
        // Left untouched: it reserves address space, not resident pages.
        reserve() = std::make_unique_for_overwrite<char[]>(kReserveBytes);
    } catch (const std::bad_alloc&) {
        // Still short of memory; the next report tries again.
    }
}

bool memoryReserveHeld() noexcept { return reserve() != nullptr; }

void reportCommandError(BoxPort& boxes, std::exception_ptr error) noexcept {
    try {
        showError(boxes, error);
    } catch (...) {
        // Telling the user failed, most likely for want of memory.
        reportOutOfMemory(boxes);
    }
}

CommandRunner::CommandRunner(const WindowCommands& commands, BoxPort& boxes)
    : commands_(commands), boxes_(boxes) {
    holdMemoryReserve();
}

void CommandRunner::run(CommandId command) noexcept {
    guard([&] {
        dispatch(command);
        // The presentation view shows what the topic boxes show, whichever
        // command changed them.
        commands_.presentation.topicsMayHaveChanged();
    });
}

void showTimerChecks(WindowCommandPort& window, const TimerCommands& timer) {
    // A cancelled box of the user's own length leaves the old one checked.
    const CommandId length = timer.checkedLength();
    for (const TimerPreset& preset : timerPresets())
        window.showChecked(preset.command, preset.command == length);
    window.showChecked(CommandId::TimerOwnLength, length == CommandId::TimerOwnLength);
    window.showChecked(CommandId::TimerWithDraw, timer.startWithDraw());
}

void CommandRunner::dispatch(CommandId command) {
    FileCommands& files = commands_.files;
    TopicCommands& topics = commands_.topics;
    EditCommands& edits = commands_.edits;
    HelpCommands& help = commands_.help;
    TimerCommands& timer = commands_.timer;
    // An example list is found where the help lies, and read as a list file.
    const auto openExample = [&](const char* fileName) {
        files.openExampleList(fileName, help.exampleListPath(fileName));
    };
    switch (command) {
        case CommandId::New:
            return files.newList();
        case CommandId::Print:
            return help.printList();
        case CommandId::NewImportKivo:
            return files.importContainerAsNewList();
        case CommandId::AddImportKivo:
            return files.addContainerToList();
        case CommandId::NewImportText:
            return files.importTextAsNewList();
        case CommandId::AddImportText:
            return files.addTextToList();
        case CommandId::ExportKivo:
            return files.exportContainer();
        case CommandId::ExportText:
            return files.exportText();
        case CommandId::Exit:
            return commands_.window.closeWindow();
        case CommandId::FullWidth:
            return edits.toFullWidth();
        case CommandId::HalfWidth:
            return edits.toHalfWidth();
        case CommandId::Cut:
            return edits.cut();
        case CommandId::Copy:
            return edits.copy();
        case CommandId::Paste:
            return edits.paste();
        case CommandId::SelectAll:
            return edits.selectAll();
        case CommandId::Undo:
            return edits.undo();
        case CommandId::ClearList:
            return topics.clearList();
        case CommandId::ClearTopics:
            return topics.clearTopics();
        case CommandId::Random:
            return topics.reseedDraw();
        case CommandId::NoRepeats:
            topics.setNoRepeats(!topics.noRepeats());
            return commands_.window.showChecked(command, topics.noRepeats());
        case CommandId::TwoTopics:
        case CommandId::ThreeTopics:
            topics.setTopicCount(command == CommandId::ThreeTopics ? kMostTopics : kFewestTopics);
            commands_.window.showChecked(CommandId::TwoTopics,
                                         topics.topicCount() == kFewestTopics);
            return commands_.window.showChecked(CommandId::ThreeTopics,
                                                topics.topicCount() == kMostTopics);
        case CommandId::ByHeading:
            topics.setByHeading(!topics.byHeading());
            return commands_.window.showChecked(command, topics.byHeading());
        case CommandId::DrawHistory:
            return commands_.window.showDrawHistory();
        case CommandId::Help:
            return help.showHelp();
        case CommandId::About:
            return help.showAbout();
        case CommandId::NewKivo:
            return help.checkForUpdate();
        case CommandId::ExampleStory:
            return openExample(kStoryExampleName);
        case CommandId::ExampleDrawing:
            return openExample(kDrawingExampleName);
        case CommandId::Draw:
            return topics.drawTopics();
        case CommandId::Present:
            return commands_.presentation.togglePresentation();
        case CommandId::DarkPresentation:
            commands_.presentation.setDarkPresentation(!commands_.presentation.darkPresentation());
            return commands_.window.showChecked(command, commands_.presentation.darkPresentation());
        case CommandId::PresentationDraw:
            return commands_.presentation.presentationDraw();
        case CommandId::PresentationClose:
            return commands_.presentation.presentationClose();
        case CommandId::PresentationFullScreen:
            return commands_.presentation.presentationToggleFullScreen();
        case CommandId::CopyTopics:
            return commands_.share.copyTopics();
        case CommandId::ShareDialog:
            return commands_.share.editShareSettings();
        case CommandId::SaveHistoryCsv:
            return commands_.share.saveHistoryCsv();
        case CommandId::TimerOff:
        case CommandId::Timer1Minute:
        case CommandId::Timer3Minutes:
        case CommandId::Timer5Minutes:
        case CommandId::Timer10Minutes:
        case CommandId::Timer15Minutes:
        case CommandId::Timer30Minutes:
        case CommandId::Timer60Minutes:
            for (const TimerPreset& preset : timerPresets()) {
                if (preset.command == command) timer.setMinutes(preset.minutes);
            }
            return showTimerChecks(commands_.window, timer);
        case CommandId::TimerOwnLength:
            timer.askMinutes();
            return showTimerChecks(commands_.window, timer);
        case CommandId::TimerWithDraw:
            timer.setStartWithDraw(!timer.startWithDraw());
            return showTimerChecks(commands_.window, timer);
        case CommandId::TimerStartPause:
            return timer.startOrPause();
        case CommandId::TimerReset:
            return timer.reset();
        case CommandId::None:
            return;
    }
}

}  // namespace kivo
