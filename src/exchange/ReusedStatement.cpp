#include "exchange/ReusedStatement.h"

#include "core/Error.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlErrors.h"
#include "data/engine/SqlParams.h"

#include <QSqlError>

ReusedStatement::ReusedStatement(Connection& connection, const QString& sql)
    : connection_(connection), query_(connection.database())
{
    const QString text = connection.prepareSql(sql);
    QString positional;
    qsizetype from = 0;
    for (const SqlPlaceholder& p : sqlPlaceholders(text)) {
        positional += QStringView(text).sliced(from, p.start - from);
        positional += u'?';
        from = p.start + p.length;
        names_.append(p.name.toUpper());
    }
    positional += QStringView(text).sliced(from);
    query_.setForwardOnly(true);
    if (!query_.prepare(positional))
        throw DatabaseError(sqlErrorText(query_.lastError()));
    for (int i = 0; i < names_.size(); ++i)
        query_.bindValue(i, QVariant());
}

void ReusedStatement::bind(const QString& name, const QVariant& value)
{
    const QString key = name.toUpper();
    const QVariant engineValue = connection_.toEngineValue(value);
    bool found = false;
    for (int i = 0; i < names_.size(); ++i) {
        if (names_[i] == key) {
            query_.bindValue(i, engineValue);
            found = true;
        }
    }
    if (!found)
        throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
}

void ReusedStatement::exec()
{
    if (!query_.exec())
        throw DatabaseError(sqlErrorText(query_.lastError()));
}
