#pragma once
// The help document and web addresses, both opened in the user's browser
// through the shell and not waited for.
#include <optional>
#include <string>
#include <string_view>

#include "commands/Ports.h"

namespace kivo::win32 {

// The help document beside the program; a missing one is told in a box.
// The example lists lie in the examples folder beside it.
class BrowserHelp : public HelpPort {
public:
    explicit BrowserHelp(BoxPort& boxes) : boxes_(boxes) {}
    void showHelpContents() override;
    std::optional<std::string> exampleListPath(std::string_view fileName) override;
    // The document beside the running executable.
    static std::wstring documentPath();

private:
    BoxPort& boxes_;
};

class ShellUrls : public UrlPort {
public:
    void openUrl(const std::string& url) override;
};

}  // namespace kivo::win32
