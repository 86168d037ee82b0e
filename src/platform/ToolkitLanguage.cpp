#include "platform/ToolkitLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kivo {

void useJapaneseToolkitTexts() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    // File types and the like are described in the default locale's language.
    QLocale::setDefault(japanese);
    // Translators are searched newest first, so the program's own goes last.
    auto* toolkit = new QTranslator(app);
    if (toolkit->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(toolkit);
    }
    auto* own = new QTranslator(app);
    if (own->load(QStringLiteral(":/translations/kivo_ja.qm"))) {
        QCoreApplication::installTranslator(own);
    }
}

}  // namespace kivo
