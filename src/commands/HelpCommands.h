#pragma once
// The Help menu and printing: the help document, the About box, the update
// check and the printed list.
#include <optional>
#include <string>
#include <string_view>

#include "commands/Ports.h"

namespace kivo {

// The maker's home page, where the newest version is announced.
inline constexpr const char* kMakerHomePage = "https://quillery.example.jp/";
inline constexpr const char* kUpdateCaption = "Kivo アップデート";
// What a failed print job ends with.
inline constexpr const char* kPrintErrorText = "印刷中にエラーが発生しました";
// The help document's file name.
inline constexpr const char* kHelpDocumentName = "kHelp.html";
// The example lists that ship with the program, in a folder of this name
// where the help document lies, and their file names (ASCII, so that any
// unpacking tool keeps them).
inline constexpr const char* kExampleFolderName = "examples";
inline constexpr const char* kStoryExampleName = "sandaibanashi.txt";
inline constexpr const char* kDrawingExampleName = "drawing-practice.txt";

// The warning when the help document is missing (its path as the system
// writes paths).
std::string helpMissingText(const std::string& documentPath);

// The update question: six lines joined by CR LF, none after the last.
std::string updateQuestion();

struct HelpPorts {
    HelpPort& help;
    AboutPort& about;
    UrlPort& urls;
    TopMostPort& topMost;
    PrintPort& printer;
    BoxPort& boxes;
    MainWindowPort& window;
};

class HelpCommands {
public:
    explicit HelpCommands(const HelpPorts& ports) : ports_(ports) {}

    // Opens the help at its contents, then steps the top-most windows aside.
    // They are not brought back: the help stays in front of them.
    void showHelp();
    void showAbout() { ports_.about.showAbout(); }
    // Where the example list of that name is installed; nothing when it is
    // missing.
    std::optional<std::string> exampleListPath(std::string_view fileName) {
        return ports_.help.exampleListPath(fileName);
    }
    // Asks whether to open the maker's page; on Yes, opens it in the browser.
    // The top-most windows step aside for the question and come back after.
    void checkForUpdate();
    // The printer set-up dialog, then, unless cancelled, the whole list.
    void printList();

private:
    HelpPorts ports_;
};

}  // namespace kivo
