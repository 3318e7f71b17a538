#include "ntrs/check/IsoCodes.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The values of key of every entry of the list listName in the JSON file; empty when the file
// cannot be read or holds no such list.
QSet<QString> codesOf(const QString& path, const QString& listName, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonArray entries = QJsonDocument::fromJson(file.readAll()).object().value(listName).toArray();
    QSet<QString> codes;
    for (const QJsonValue& entry : entries) {
        const QString code = entry.toObject().value(key).toString();
        if (!code.isEmpty())
            codes.insert(code);
    }
    return codes;
}

}  // namespace

QString IsoCodes::debianFolder()
{
    return QStringLiteral("/usr/share/iso-codes/json");
}

std::optional<IsoCodes> IsoCodes::load(const QString& folder)
{
    IsoCodes codes;
    const QDir dir(folder);
    codes.countries_ = codesOf(dir.filePath(QStringLiteral("iso_3166-1.json")), QStringLiteral("3166-1"),
                               QStringLiteral("alpha_2"));
    codes.currencies_ = codesOf(dir.filePath(QStringLiteral("iso_4217.json")), QStringLiteral("4217"),
                                QStringLiteral("alpha_3"));
    if (codes.countries_.isEmpty() || codes.currencies_.isEmpty())
        return std::nullopt;
    return codes;
}
