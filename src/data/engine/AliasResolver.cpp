#include "data/engine/AliasResolver.h"

#include "core/Error.h"
#include "core/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace AliasResolver {

namespace {

// The keys (upper-cased) of the alias's section of aliases.ini; empty when there is none.
// Values are taken as written: an ODBC connection string keeps its ';' and ','.
QHash<QString, QString> aliasEntry(const QString& programFolder, const QString& alias)
{
    QHash<QString, QString> entry;
    QFile file(ProgramFolder::join(programFolder, QStringLiteral("aliases.ini")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entry;
    bool inSection = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(alias, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inSection && eq > 0)
            entry.insert(line.left(eq).trimmed().toUpper(), line.mid(eq + 1).trimmed());
    }
    return entry;
}

// The file, or a file of the same name in another letter case (aliases are not case
// sensitive); the expected path when neither exists.
QString existingFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isFile())
        return info.absoluteFilePath();
    const QDir dir = info.absoluteDir();
    const QStringList files = dir.entryList(QDir::Files);
    for (const QString& name : files) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.absoluteFilePath(name);
    }
    throw DatabaseError(
        QStringLiteral("Database file does not exist: %1").arg(info.absoluteFilePath()));
}

// The first of the keys that has a value in the entry, else the fallback.
QString firstValue(const QHash<QString, QString>& entry, const QStringList& keys,
                   const QString& fallback)
{
    for (const QString& key : keys) {
        const QString value = entry.value(key);
        if (!value.isEmpty())
            return value;
    }
    return fallback;
}

}  // namespace

AliasTarget resolve(const QString& programFolder, const QString& alias)
{
    const QHash<QString, QString> entry = aliasEntry(programFolder, alias);
    const QString driver = firstValue(entry, {QStringLiteral("DRIVER")}, QStringLiteral("SQLITE"));
    AliasTarget target;
    if (driver.compare(QLatin1String("ODBC"), Qt::CaseInsensitive) == 0) {
        const QString server = firstValue(entry, {QStringLiteral("SERVER")}, QString());
        if (server.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0)
            target.engine = Connection::Engine::PostgreSql;
        else if (server.isEmpty() || server.compare(QLatin1String("Oracle"), Qt::CaseInsensitive) == 0
                 || server.compare(QLatin1String("DB2"), Qt::CaseInsensitive) == 0)
            target.engine = Connection::Engine::Odbc;
        else
            throw DatabaseError(QStringLiteral("Unknown server '%1' for alias '%2' in aliases.ini")
                                    .arg(server, alias));
        target.database = firstValue(
            entry, {QStringLiteral("CONNECTIONSTRING"), QStringLiteral("DSN")}, alias);
        const QString timeout = firstValue(entry, {QStringLiteral("STATEMENTTIMEOUT")}, QString());
        if (!timeout.isEmpty()) {
            bool ok = false;
            target.statementTimeout = timeout.toInt(&ok);
            if (!ok || target.statementTimeout <= 0)
                throw DatabaseError(QStringLiteral("Invalid StatementTimeout '%1' for alias '%2' in aliases.ini")
                                        .arg(timeout, alias));
        }
        return target;
    }
    if (driver.compare(QLatin1String("SQLITE"), Qt::CaseInsensitive) != 0)
        throw DatabaseError(QStringLiteral("Unknown driver '%1' for alias '%2' in aliases.ini")
                                .arg(driver, alias));
    QString file =
        firstValue(entry, {QStringLiteral("DATABASE")}, alias + QStringLiteral(".sqlite"));
    if (QFileInfo(file).isRelative())
        file = ProgramFolder::join(programFolder, file);
    target.engine = Connection::Engine::Sqlite;
    target.database = existingFile(file);
    return target;
}

}  // namespace AliasResolver
