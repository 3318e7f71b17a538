#include "listing/LocalTable.h"

#include "core/Error.h"
#include "data/dataset/Dataset.h"
#include "data/engine/Connection.h"
#include "listing/ListColumns.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

namespace {

std::atomic<int> counter{0};

QString columnType(FieldType type)
{
    if (isIntegerType(type))
        return QStringLiteral("INTEGER");
    if (isNumericType(type) || isDateTimeType(type))
        return QStringLiteral("REAL");
    return QStringLiteral("TEXT");
}

void exec(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql))
        throw DatabaseError(query.lastError().text());
}

}  // namespace

LocalTable::LocalTable(const Dataset& source, const std::function<bool(int, int)>& progress)
{
    const int number = counter++;
    name_ = QStringLiteral("_TMP%1").arg(number);
    if (!folder_.isValid())
        throw ZtfiError(QStringLiteral("Lokalne tabele ni mogoče ustvariti: %1").arg(folder_.errorString()));
    // An empty file is an empty database.
    QFile file(folder_.filePath(QStringLiteral("LOCAL.sqlite")));
    if (!file.open(QIODevice::WriteOnly))
        throw ZtfiError(QStringLiteral("Lokalne tabele ni mogoče ustvariti: %1").arg(file.errorString()));
    file.close();
    connection_ = Connection::open(folder_.path(), QStringLiteral("LOCAL"), QString(), QString());
    QSqlDatabase db = connection_->database();

    const QList<Field*> columns = listColumns(source);
    fields_.append({QStringLiteral("N"), FieldType::Integer, 0, QStringLiteral("N"), 1, QString()});
    QStringList definitions = {QStringLiteral("N INTEGER")};
    for (const Field* f : columns) {
        fields_.append({f->name(), f->type(), f->size() > 0 ? f->size() : f->displayWidth(), f->displayLabel(),
                        f->displayWidth(), isNumericType(f->type()) ? f->displayFormat() : QString()});
        definitions << u'"' + f->name() + QStringLiteral("\" ") + columnType(f->type());
    }
    QSqlQuery query(db);
    exec(query, QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(name_, definitions.join(QStringLiteral(", "))));
    QStringList marks(columns.size() + 1, QStringLiteral("?"));
    if (!query.prepare(QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(name_, marks.join(u','))))
        throw DatabaseError(query.lastError().text());
    db.transaction();
    const int total = source.isActive() ? source.recordCount() : 0;
    for (int row = 0; row < total; ++row) {
        query.bindValue(0, 1);
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const Field& f = *columns[i];
            const QVariant v = source.valueAt(row, f);
            QVariant stored;
            if (v.isValid() && !v.isNull())
                stored = isDateTimeType(f.type()) || isNumericType(f.type()) ? Field::convert(FieldType::Float, v)
                                                                             : QVariant(f.textOf(v));
            query.bindValue(int(i) + 1, stored);
        }
        if (!query.exec()) {
            db.rollback();
            throw DatabaseError(query.lastError().text());
        }
        if (progress && !progress(row + 1, total))
            break;
    }
    db.commit();
}

LocalTable::~LocalTable()
{
    QSqlQuery drop(connection_->database());
    drop.exec(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(name_));
}

QList<QVariantList> LocalTable::rows(const QStringList& sql) const
{
    QSqlQuery query(connection_->database());
    query.setForwardOnly(true);
    exec(query, sql.join(u'\n'));
    QList<QVariantList> result;
    while (query.next()) {
        QVariantList row;
        for (int c = 0; c < query.record().count(); ++c)
            row << query.value(c);
        result << row;
    }
    return result;
}
