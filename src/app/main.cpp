// Start-up: application title, help file, main window, About box, then the
// message loop until the main window closes.
#include <QCoreApplication>

#include "AuxiliaryCommands.h"
#include "Boxes.h"
#include "Fonts.h"
#include "HelpFile.h"
#include "KivoApplication.h"
#include "TFormAbout.h"
#include "TMainForm.h"
#include "ToolkitLanguage.h"

int main(int argc, char** argv) {
    kivo::KivoApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kivo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.33"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kivo"));
    kivo::installJapaneseFontSubstitutes();
    // The toolkit's own dialogs (file choosers, print set-up) speak Japanese
    // like the rest of the program.
    kivo::useJapaneseToolkitTexts();
    // Replaced by the help command before every request; never opened as is.
    kivo::setApplicationHelpFile(kivo::helpFileBesideExecutable());

    kivo::TMainForm mainForm(app.boxes());
    mainForm.setCommandLine(QCoreApplication::arguments());
    kivo::TFormAbout formAbout(QString::fromStdString(mainForm.versionText()), &mainForm);
    mainForm.setFormAbout(&formAbout);

    mainForm.show();
    return app.exec();
}
