#pragma once
// The help engine: opens the contents of a help file. The program asks for
// "kHelp.hlp" in its help folder (beside itself in a build, share/kivo when
// installed); the engine shows the document that ships there under the same
// base name, "kHelp.html", in a help window of its own.
#include <QString>
#include <memory>

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

}  // namespace kivo
