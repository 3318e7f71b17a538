#include "ui/UiDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

QFont UiDefaults::dataFont() const
{
    QFont font(fontName);
    font.setPointSize(fontSize);
    font.setBold(true);
    return font;
}

QFont UiDefaults::titleFont() const
{
    QFont font(titleFontName);
    font.setPointSize(titleFontSize);
    font.setBold(false);
    return font;
}

UiDefaults UiDefaults::read(const QString& iniPath)
{
    UiDefaults d;
    if (iniPath.isEmpty() || !QFileInfo::exists(iniPath))
        return d;
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("OXU"));
    d.fontName = ini.value(QStringLiteral("FontName"), d.fontName).toString();
    d.titleFontName = ini.value(QStringLiteral("TitleFontName"), d.titleFontName).toString();
    const auto number = [&ini](const char* key, int fallback) {
        bool ok = false;
        const int n = ini.value(QLatin1String(key)).toInt(&ok);
        return ok && n > 0 ? n : fallback;
    };
    d.fontSize = number("FontSize", d.fontSize);
    d.titleFontSize = number("TitleFontSize", d.titleFontSize);
    d.lineHeight = number("LineHeight", d.lineHeight);
    return d;
}

const UiDefaults& UiDefaults::get()
{
    static const UiDefaults defaults = [] {
        QString path = qEnvironmentVariable("ZTFI_UI_INI");
        if (path.isEmpty())
            path = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                       .filePath(QStringLiteral("ztfi-ui.ini"));
        return read(path);
    }();
    return defaults;
}
