#include "core/SlovenianCatalogue.h"

#include "core/MissingQtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool SlovenianCatalogue::install(QCoreApplication& application)
{
    QCoreApplication::installTranslator(new MissingQtTexts(&application));
    auto* qt = new QTranslator(&application);
    if (!qt->load(QStringLiteral("qt_sl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}
