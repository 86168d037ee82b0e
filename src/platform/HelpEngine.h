#pragma once
// The help engine: opens the contents of a help file. The program asks for
// "kHelp.hlp" in its help folder (beside itself in a build, share/kivo when
// installed); the engine shows the document that ships there under the same
// base name, "kHelp.html", in a help window of its own. The commands'
// help port opens it over the engine.
#include <QString>
#include <memory>

#include "commands/Ports.h"

class QWidget;

namespace kivo {

class Boxes;
class HelpWindow;

class HelpEngine {
public:
    virtual ~HelpEngine() = default;
    // Shows the help file's contents on behalf of `owner`. A file that
    // isn't there is the engine's to report.
    virtual void showContents(QWidget* owner, const QString& helpFile) = 0;
};

class QtHelpEngine : public HelpEngine {
public:
    explicit QtHelpEngine(Boxes& boxes);
    ~QtHelpEngine() override;

    void showContents(QWidget* owner, const QString& helpFile) override;

    // The document that stands for a help file: same folder, same base
    // name, extension ".html".
    static QString documentOf(const QString& helpFile);
    // The box text for a document that can't be shown.
    static QString missingText(const QString& document);

    // The one help window, once a document has been shown.
    HelpWindow* window() const { return window_.get(); }

private:
    Boxes& boxes_;
    std::unique_ptr<HelpWindow> window_;
};

// The help as the commands open it: the executable's help file becomes the
// application's help file, and the engine opens its contents for the main
// window. The engine is the toolkit's own until a test puts in its own.
class HelpEnginePort : public HelpPort {
public:
    // `boxes` is where the engine reports a missing document; `mainWindow`
    // what the help opens for.
    HelpEnginePort(Boxes& boxes, QWidget& mainWindow);
    // A replacement stays the caller's; it must outlive its use here.
    void use(HelpEngine& engine) { engine_ = &engine; }

    void showHelpContents() override;
    // Found beside the running executable as its help file is.
    std::optional<std::string> exampleListPath(std::string_view fileName) override;

private:
    QWidget& mainWindow_;
    QtHelpEngine qtEngine_;
    HelpEngine* engine_ = &qtEngine_;
};

}  // namespace kivo
