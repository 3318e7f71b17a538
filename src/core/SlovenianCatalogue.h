#pragma once

class QCoreApplication;

// Qt's own texts (dialogs, buttons, Qt's messages) in Slovenian.
namespace SlovenianCatalogue {

// Installs Qt's catalogue qt_sl.qm from Qt's translations folder (Debian's qt6-translations-l10n)
// and the texts it lacks (MissingQtTexts); false when qt_sl.qm was not found (the standard
// buttons are Slovenian all the same).
bool install(QCoreApplication& application);

}  // namespace SlovenianCatalogue
