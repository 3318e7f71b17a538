#pragma once

#include <QFont>
#include <QString>

// Fonts and line height of grids and typed edits, read once from the section "OXU" of the
// user's settings file (ztfi-ui.ini in the user's configuration folder, or the file named by
// ZTFI_UI_INI): FontName and FontSize give the data font (bold), TitleFontName and
// TitleFontSize the title font (regular), LineHeight the row height.
struct UiDefaults {
    QString fontName = QStringLiteral("Arial CE");
    int fontSize = 8;
    QString titleFontName = QStringLiteral("Arial CE");
    int titleFontSize = 8;
    int lineHeight = 18;

    QFont dataFont() const;
    QFont titleFont() const;

    // The values of the settings file, read on the first call.
    static const UiDefaults& get();
    // The values of one settings file (missing keys keep their defaults).
    static UiDefaults read(const QString& iniPath);
};
