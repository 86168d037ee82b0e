#include "commands/PresentationCommands.h"

namespace kivo {

CommandId presentationKeyCommand(PresentationKey key) {
    switch (key) {
        case PresentationKey::Space:
        case PresentationKey::Enter:
            return CommandId::PresentationDraw;
        case PresentationKey::Escape:
        case PresentationKey::F11:
            return CommandId::PresentationClose;
        case PresentationKey::AltEnter:
            return CommandId::PresentationFullScreen;
        case PresentationKey::T:
            return CommandId::TimerStartPause;
        case PresentationKey::R:
            return CommandId::TimerReset;
        case PresentationKey::Other:
            break;
    }
    return CommandId::None;
}

PresentationCommands::PresentationCommands(TopicCommands& topics, PresentationPort& view,
                                           SettingsStore& settings)
    : topics_(topics), view_(view), settings_(settings) {
    dark_ = settings_.readBool(kDarkPresentationSetting).value_or(false);
}

PresentationTheme PresentationCommands::theme() const {
    return dark_ ? PresentationTheme::Dark : PresentationTheme::Light;
}

void PresentationCommands::togglePresentation() {
    if (view_.presentationOpen()) return presentationClose();
    shown_ = topics_.current().get();
    fullScreen_ = true;
    view_.showPresentation(shown_, theme());
}

void PresentationCommands::presentationDraw() {
    topics_.drawTopics();
    // Told again even when the pair is the one shown: the user asked.
    shown_ = topics_.current().get();
    if (view_.presentationOpen()) view_.updatePresentation(shown_);
}

void PresentationCommands::presentationClose() {
    if (view_.presentationOpen()) view_.closePresentation();
}

void PresentationCommands::presentationToggleFullScreen() {
    if (!view_.presentationOpen()) return;
    fullScreen_ = !fullScreen_;
    view_.setPresentationFullScreen(fullScreen_);
}

void PresentationCommands::setDarkPresentation(bool checked) {
    dark_ = checked;
    settings_.writeBool(kDarkPresentationSetting, checked);
    if (view_.presentationOpen()) view_.setPresentationTheme(theme());
}

void PresentationCommands::topicsMayHaveChanged() {
    if (!view_.presentationOpen()) return;
    const DrawnTopics& now = topics_.current().get();
    if (now == shown_) return;
    shown_ = now;
    view_.updatePresentation(shown_);
}

}  // namespace kivo
