// Start-up: application title, help file, main window, About box, then the
// message loop until the main window closes.
#include <QCoreApplication>
#include <QIcon>

#include "app/AboutDialog.h"
#include "app/KivoApplication.h"
#include "app/MainWindow.h"
#include "core/Version.h"
#include "platform/Boxes.h"
#include "platform/Fonts.h"
#include "platform/HelpFile.h"
#include "platform/ToolkitLanguage.h"

namespace {

// The menu entry's icon in every size it is drawn in, so that no size is
// scaled down from a bigger one.
QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1x%1/apps/jp.example.quillery.kivo.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    kivo::KivoApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kivo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KIVO_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.example.quillery.kivo"));
    QApplication::setWindowIcon(applicationIcon());
    kivo::installJapaneseFontSubstitutes();
    // The toolkit's own dialogs (file choosers, print set-up) speak Japanese
    // like the rest of the program.
    kivo::useJapaneseToolkitTexts();
    // Replaced by the help command before every request; never opened as is.
    kivo::setApplicationHelpFile(kivo::helpFileOfExecutable());

    kivo::MainWindow mainForm(app.boxes());
    mainForm.setCommandLine(QCoreApplication::arguments());
    kivo::AboutDialog formAbout(QString::fromStdString(mainForm.versionText()), &mainForm);
    mainForm.setAboutDialog(&formAbout);

    mainForm.show();
    return app.exec();
}
