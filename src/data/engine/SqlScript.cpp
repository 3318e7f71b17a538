#include "data/engine/SqlScript.h"

#include "core/Error.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

QStringList sqlScriptStatements(const QString& scriptText)
{
    QStringList statements;
    QString current;
    bool inQuote = false;
    for (qsizetype i = 0; i < scriptText.size(); ++i) {
        const QChar c = scriptText.at(i);
        if (!inQuote && c == QLatin1Char('-') && i + 1 < scriptText.size()
            && scriptText.at(i + 1) == QLatin1Char('-')) {
            while (i < scriptText.size() && scriptText.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\''))
            inQuote = !inQuote;
        if (!inQuote && c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void applySqlScript(QSqlDatabase& db, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ZtfiError(QStringLiteral("Cannot read %1").arg(path));
    const QString text = QString::fromUtf8(file.readAll());
    db.transaction();
    for (const QString& statement : sqlScriptStatements(text)) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            const QString message = QStringLiteral("%1: %2\n%3").arg(path, query.lastError().text(), statement);
            query.finish();
            db.rollback();
            throw DatabaseError(message);
        }
    }
    db.commit();
}
