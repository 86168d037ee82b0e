#pragma once
// The share dialog (the stream files' folder, the copied topics' form) and
// the box that asks for the countdown's own length, as Windows dialogs over
// the main window, in its font and at its scale. Tab goes through the
// fields in order, a label's access key reaches its field, Enter is OK and
// Esc cancels.
#include <windows.h>

#include <optional>

#include "commands/Ports.h"

namespace kivo::win32 {

class AnchorLayout;

class ShareDialogs : public ShareDialogPort {
public:
    ShareDialogs(HWND owner, const AnchorLayout& layout) : owner_(owner), layout_(layout) {}

    std::optional<ShareSettings> editShareSettings(const ShareSettings& settings) override;
    std::optional<int> askTimerMinutes(int minutes) override;

private:
    HWND owner_;
    const AnchorLayout& layout_;
};

}  // namespace kivo::win32
