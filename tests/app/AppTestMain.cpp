// Widget tests run on the real application object, headless.
#include <gtest/gtest.h>

#include "Fonts.h"
#include "KivoApplication.h"
#include "ToolkitLanguage.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    kivo::KivoApplication app(argc, argv);
    kivo::installJapaneseFontSubstitutes();
    kivo::useJapaneseToolkitTexts();
    return RUN_ALL_TESTS();
}
