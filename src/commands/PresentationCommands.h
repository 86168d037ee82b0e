#pragma once
// The presentation view: the two current topics large, full screen, for a
// room or a stream. It draws through the topic button's own command, so the
// random sequence, the boxes, the history and the main window's topic
// boxes are the same whichever window the draw came from.

#include <string>

#include "commands/Ports.h"
#include "commands/TopicCommands.h"
#include "commands/WindowLayout.h"
#include "wordlist/DrawPorts.h"

namespace kivo {

// The keys the view answers, and the command each runs: Space or Enter
// draws, Esc or F11 closes, Alt+Enter leaves full screen or goes back, T
// starts or pauses the countdown, R resets it.
enum class PresentationKey { Space, Enter, Escape, F11, AltEnter, T, R, Other };
CommandId presentationKeyCommand(PresentationKey key);

// Where the theme's switch is kept, beside the draw mode's.
inline constexpr const char* kDarkPresentationSetting = "Draw/DarkPresentation";

class PresentationCommands {
public:
    // Reads the theme's switch from `settings`; every port must outlive the
    // commands.
    PresentationCommands(TopicCommands& topics, PresentationPort& view, SettingsStore& settings);

    // Opens the view with the current topics, or closes it when open.
    void togglePresentation();
    // The view's draw key: a draw as the button makes it, then shown.
    void presentationDraw();
    void presentationClose();
    // Between full screen and a window of its own.
    void presentationToggleFullScreen();
    // The theme's menu item, with the check it now shows.
    void setDarkPresentation(bool checked);
    bool darkPresentation() const { return dark_; }
    // After any other command: the view follows the session's topics.
    void topicsMayHaveChanged();

private:
    PresentationTheme theme() const;

    TopicCommands& topics_;
    PresentationPort& view_;
    SettingsStore& settings_;
    bool dark_ = false;
    bool fullScreen_ = true;
    DrawnTopics shown_;
};

}  // namespace kivo
