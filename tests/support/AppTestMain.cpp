// Widget tests run on the real application object, headless.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "app/KivoApplication.h"
#include "platform/Fonts.h"
#include "platform/ToolkitLanguage.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    kivo::KivoApplication app(argc, argv);
    // Settings the tests write, and the copies saves keep, stay in folders
    // of this run, never the user's: a copy left there would be offered
    // back when a window is shown.
    QTemporaryDir settingsDir;
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settingsDir.path());
    }
    QTemporaryDir cacheDir;
    qputenv("XDG_CACHE_HOME", cacheDir.path().toLocal8Bit());
    kivo::installJapaneseFontSubstitutes();
    kivo::useJapaneseToolkitTexts();
    return RUN_ALL_TESTS();
}
