#include "ui/app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace varnolt::ui {

bool InstallQtJapaneseTranslations(QCoreApplication& app) {
    // "qt" gathers the catalogues of every Qt module that has one (qtbase among them).
    auto* translator = new QTranslator(&app);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    if (!translator->load(japanese, "qt", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace varnolt::ui
