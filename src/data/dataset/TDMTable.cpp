#include "data/dataset/TDMTable.h"

#include "core/Error.h"
#include "core/NullValue.h"
#include "data/dataset/DataSource.h"
#include "data/dataset/FieldTemplate.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlStatement.h"
#include "data/WriteBatch.h"
#include "data/filter/FilterSql.h"
#include "data/filter/RangeLiteral.h"

#include <QSqlQuery>

namespace {

QStringList splitFieldNames(const QString& names)
{
    QStringList list;
    for (const QString& name : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!name.trimmed().isEmpty())
            list.append(name.trimmed());
    }
    return list;
}

QVariant typedNull(FieldType type)
{
    if (isIntegerType(type))
        return QVariant(QMetaType::fromType<qlonglong>());
    if (isNumericType(type))
        return QVariant(QMetaType::fromType<double>());
    if (type == FieldType::Time)
        return QVariant(QMetaType::fromType<QTime>());
    if (isDateTimeType(type))
        return QVariant(QMetaType::fromType<QDateTime>());
    if (type == FieldType::Blob)
        return QVariant(QMetaType::fromType<QByteArray>());
    return QVariant(QMetaType::fromType<QString>());
}

}  // namespace

TDMTable::TDMTable(Connection& connection, const QString& name, QObject* parent)
    : Dataset(connection, name, parent)
{
}

TDMTable::~TDMTable() = default;

void TDMTable::setTableName(const QString& table)
{
    if (isActive())
        throw DatabaseError(name() + QStringLiteral(": Cannot perform this operation on an open dataset"));
    tableName_ = table;
    keyFieldNames_.reset();
}

void TDMTable::setIndexFieldNames(const QString& names)
{
    if (names == indexFieldNames_)
        return;
    indexFieldNames_ = names;
    if (isActive())
        requery();
}

QString TDMTable::KeyFieldNames()
{
    if (!keyFieldNames_)
        keyFieldNames_ = firstUniqueIndexFields(indexDefs());
    return *keyFieldNames_;
}

QString TDMTable::CompleteIndexFieldNames(const QString& names)
{
    const QString keys = KeyFieldNames();
    if (keys.isEmpty() && !isActive())
        return names;
    if (names.isEmpty())
        return keys;
    if (!connection().isSqlServer())
        return names;
    QStringList remaining = keys.split(QLatin1Char(';'));
    for (const QString& name : names.split(QLatin1Char(';'))) {
        const QString upper = name.toUpper();
        remaining.removeIf([&](const QString& key) { return key.toUpper() == upper; });
    }
    QString completed = names;
    for (const QString& key : remaining) {
        if (!key.isEmpty())
            completed += QLatin1Char(';') + key;
    }
    return completed;
}

QList<TableIndex> TDMTable::indexDefs() const
{
    if (tableName_.isEmpty())
        return {};
    return tableIndexes(connection(), tableName_);
}

void TDMTable::setFilter(const QString& text)
{
    if (text == filter_)
        return;
    filter_ = text;
    if (isActive() && filtered_)
        requery();
}

void TDMTable::setFiltered(bool on)
{
    if (on == filtered_)
        return;
    filtered_ = on;
    if (isActive() && !filter_.trimmed().isEmpty())
        requery();
}

void TDMTable::setFilterCaseInsensitive(bool on)
{
    if (on == filterCaseInsensitive_)
        return;
    filterCaseInsensitive_ = on;
    if (isActive() && filtered_ && !filter_.trimmed().isEmpty())
        requery();
}

bool TDMTable::SQLSetRange(const QVariantList& values)
{
    if (!isActive())
        throw DatabaseError(name() + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    const QString text = SQLRangeFilter(values, values);
    filter_ = text;
    filtered_ = true;
    requery();
    return !(bof() && eof());
}

QString TDMTable::SQLRangeFilter(const QVariantList& startValues, const QVariantList& endValues) const
{
    QString text;
    const QStringList sortFields = splitFieldNames(indexFieldNames_);
    for (qsizetype i = 0; i < sortFields.size(); ++i) {
        const bool hasStart = startValues.size() > i;
        const bool hasEnd = endValues.size() > i;
        if (!hasStart && !hasEnd)
            continue;
        const Field& field = fieldByName(sortFields[i]);
        if (!text.isEmpty())
            text += QStringLiteral(" AND ");
        if (hasStart && hasEnd && startValues[i] == endValues[i]) {
            text += field.name() + QStringLiteral(" = ")
                    + rangeLiteral(field, startValues[i], name(), tableName_);
            continue;
        }
        if (hasStart)
            text += field.name() + QStringLiteral(" >= ")
                    + rangeLiteral(field, startValues[i], name(), tableName_);
        if (hasStart && hasEnd)
            text += QStringLiteral(" AND ");
        if (hasEnd)
            text += field.name() + QStringLiteral(" <= ")
                    + rangeLiteral(field, endValues[i], name(), tableName_);
    }
    return text;
}

void TDMTable::openCursor()
{
    if (tableName_.isEmpty())
        throw DatabaseError(name() + QStringLiteral(": Missing TableName property"));

    QSqlQuery probe(connection().database());
    SqlStatement::prepare(probe, connection(),
                          QStringLiteral("SELECT * FROM ") + tableName_ + QStringLiteral(" WHERE 1=0"),
                          QVariantList());
    SqlStatement::exec(probe);
    bindFields(engineColumns(probe));
    probe.finish();

    if (defFields_)
        FieldTemplate::apply(*this, *defFields_);
    prepareCursor();

    indexFieldNames_ = indexFieldNames_.isEmpty() ? KeyFieldNames()
                                                  : CompleteIndexFieldNames(indexFieldNames_);
    selectRows();
}

void TDMTable::closeCursor()
{
    keyFieldNames_.reset();
    if (defFields_)
        FieldTemplate::release(*this);
}

void TDMTable::selectRows()
{
    QString sql = QStringLiteral("SELECT * FROM ") + tableName_;
    QVariantList values;
    if (filtered_ && !filter_.trimmed().isEmpty()) {
        const SqlCondition where = filterToSql(filter_, *this, filterCaseInsensitive_);
        sql += QStringLiteral(" WHERE ") + where.sql;
        values = where.values;
    }
    const QStringList order = splitFieldNames(indexFieldNames_);
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));

    QSqlQuery query(connection().database());
    SqlStatement::prepare(query, connection(), sql, values);
    SqlStatement::exec(query);
    loadRows(query);
}

void TDMTable::requery()
{
    if (state() == State::Edit || state() == State::Insert)
        throw DatabaseError(name() + QStringLiteral(": A row is being edited; post or cancel it first"));
    selectRows();
    dataEvent(DataEvent::DatasetChange, nullptr);
}

void TDMTable::refresh()
{
    if (!isActive())
        throw DatabaseError(name() + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    const QString keys = KeyFieldNames();
    QVariantList keyValues;
    if (!keys.isEmpty() && recNo() >= 0) {
        for (const QString& key : splitFieldNames(keys))
            keyValues.append(fieldByName(key).value());
    }
    requery();
    if (!keyValues.isEmpty())
        locate(keys, keyValues);
}

void TDMTable::insert()
{
    if (!isActive())
        throw DatabaseError(name() + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    if (state() == State::Edit || state() == State::Insert)
        throw DatabaseError(name() + QStringLiteral(": A row is being edited; post or cancel it first"));
    beginRowEdit(true);
}

void TDMTable::edit()
{
    if (!isActive())
        throw DatabaseError(name() + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    if (state() == State::Edit || state() == State::Insert)
        return;
    if (isEmpty())
        throw DatabaseError(name() + QStringLiteral(": Cannot perform this operation on an empty dataset"));
    beginRowEdit(false);
}

void TDMTable::cancel()
{
    if (state() == State::Edit || state() == State::Insert)
        discardEditedRow();
}

void TDMTable::post()
{
    if (state() != State::Edit && state() != State::Insert)
        throw DatabaseError(name() + QStringLiteral(": Dataset not in edit or insert mode"));
    dataEvent(DataEvent::UpdateRecord, nullptr);
    for (Field* f : fields()) {
        if (f->required() && !f->isCalculated() && f->isNull())
            throw DatabaseError(name() + QStringLiteral(": Field '%1' must have a value").arg(f->displayLabel()));
    }
    const bool inserting = state() == State::Insert;
    runBeforePost(*this, inserting);
    if (inserting)
        insertRow();
    else
        updateRow();
    storeEditedRow();
}

void TDMTable::deleteRecord()
{
    if (state() == State::Insert) {
        discardEditedRow();
        return;
    }
    if (state() == State::Edit)
        discardEditedRow();
    if (!isActive())
        throw DatabaseError(name() + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    if (isEmpty())
        throw DatabaseError(name() + QStringLiteral(": Cannot perform this operation on an empty dataset"));
    runBeforeDelete(*this);
    deleteRow();
    removeCurrentRow();
}

QString TDMTable::rowContent() const
{
    QString content;
    for (const Field* f : fields())
        content += f->asString() + QStringLiteral("#|") + f->name() + QStringLiteral("#|");
    return content;
}

QList<Field*> TDMTable::addressFields()
{
    QString names = KeyFieldNames();
    const bool unique = !names.isEmpty();
    if (!unique)
        names = indexFieldNames_;
    QList<Field*> address;
    for (const QString& n : splitFieldNames(names))
        address.append(&fieldByName(n));
    if (address.isEmpty())
        throw DatabaseError(name() + QStringLiteral(": Table %1 has no key to address a row by").arg(tableName_));
    if (!unique)
        requireUniqueAddress(address);
    return address;
}

QString TDMTable::addressCondition(const QList<Field*>& fields, QVariantList& values) const
{
    QStringList terms;
    for (const Field* f : fields) {
        const QVariant stored = f->oldValue();
        if (isNullValue(stored)) {
            terms.append(f->name() + QStringLiteral(" IS NULL"));
            continue;
        }
        const QVariant engineValue = connection().toEngineValue(stored);
        if (isDateTimeType(f->type()) && engineValue.metaType().id() == QMetaType::Double) {
            // A date stored as a number of days was read rounded to the millisecond: match
            // the stored number within half a millisecond.
            const double days = engineValue.toDouble();
            const double halfMs = 0.5 / 86400000.0;
            terms.append(f->name() + QStringLiteral(" BETWEEN ? AND ?"));
            values.append(days - halfMs);
            values.append(days + halfMs);
        } else {
            terms.append(f->name() + QStringLiteral(" = ?"));
            values.append(stored);
        }
    }
    return terms.join(QStringLiteral(" AND "));
}

// Without a unique index the sort fields address the row; writing is refused unless they
// name exactly one row, so that no other row is changed with it.
void TDMTable::requireUniqueAddress(const QList<Field*>& fields)
{
    QVariantList values;
    const QString where = addressCondition(fields, values);
    QSqlQuery query(connection().database());
    SqlStatement::prepare(query, connection(),
                          QStringLiteral("SELECT COUNT(*) FROM ") + tableName_ + QStringLiteral(" WHERE ") + where,
                          values);
    SqlStatement::exec(query);
    const qint64 count = query.next() ? query.value(0).toLongLong() : 0;
    if (count != 1)
        throw DatabaseError(name() + QStringLiteral(": The key fields %1 do not identify one row of %2")
                                         .arg(indexFieldNames_, tableName_));
}

void TDMTable::insertRow()
{
    QStringList columns;
    QStringList marks;
    QVariantList values;
    for (const Field* f : fields()) {
        if (f->isCalculated())
            continue;
        const QVariant v = editedValue(*f);
        if (isNullValue(v))
            continue;
        columns.append(f->name());
        marks.append(QStringLiteral("?"));
        values.append(v);
    }
    if (columns.isEmpty()) {
        for (const Field* f : fields()) {
            if (!f->isCalculated()) {
                columns.append(f->name());
                marks.append(QStringLiteral("?"));
                values.append(typedNull(f->type()));
            }
        }
    }
    if (WriteBatch* batch = WriteBatch::openOn(connection())) {
        batch->insert(tableName_, columns, values);
        return;
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(tableName_, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    if (!insert_ || sql != insertSql_) {
        insert_.reset();
        auto query = std::make_unique<QSqlQuery>(connection().database());
        SqlStatement::prepare(*query, connection(), sql, values);
        insert_ = std::move(query);
        insertSql_ = sql;
    } else {
        for (qsizetype i = 0; i < values.size(); ++i)
            insert_->bindValue(int(i), connection().toEngineValue(values[i]));
    }
    SqlStatement::exec(*insert_);
    // A server may drop its prepared statements at a commit: only the embedded engine keeps one.
    if (connection().engine() != Connection::Engine::Sqlite)
        insert_.reset();
}

void TDMTable::updateRow()
{
    const QList<Field*> address = addressFields();
    QStringList assignments;
    QVariantList values;
    for (const Field* f : fields()) {
        if (f->isCalculated())
            continue;
        const QVariant v = editedValue(*f);
        assignments.append(f->name() + QStringLiteral(" = ?"));
        values.append(isNullValue(v) ? typedNull(f->type()) : v);
    }
    const QString where = addressCondition(address, values);
    QSqlQuery query(connection().database());
    SqlStatement::prepare(query, connection(),
                          QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                              .arg(tableName_, assignments.join(QStringLiteral(", ")), where),
                          values);
    SqlStatement::exec(query);
    if (query.numRowsAffected() == 0)
        throw DatabaseError(name() + QStringLiteral(": Record not found or changed by another user"));
}

void TDMTable::deleteRow()
{
    const QList<Field*> address = addressFields();
    QVariantList values;
    const QString where = addressCondition(address, values);
    QSqlQuery query(connection().database());
    SqlStatement::prepare(query, connection(),
                          QStringLiteral("DELETE FROM %1 WHERE %2").arg(tableName_, where), values);
    SqlStatement::exec(query);
    if (query.numRowsAffected() == 0)
        throw DatabaseError(name() + QStringLiteral(": Record not found or changed by another user"));
}

void TDMTable::runBeforePost(TDMTable& sender, bool inserting)
{
    if (defTable_)
        defTable_->runBeforePost(sender, inserting);
    if (beforePost)
        beforePost(sender, inserting);
}

void TDMTable::runBeforeDelete(TDMTable& sender)
{
    if (defTable_)
        defTable_->runBeforeDelete(sender);
    if (beforeDelete)
        beforeDelete(sender);
}

QString TDMTable::caption() const
{
    if (!caption_.isEmpty())
        return caption_;
    return defTable_ ? defTable_->caption() : QString();
}

void TDMTable::setCaption(const QString& caption)
{
    if (defTable_ && caption == defTable_->caption())
        caption_.clear();
    else
        caption_ = caption;
}

void TDMTable::setDefTable(TDMTable* table)
{
    for (const TDMTable* t = table; t; t = t->defTable_) {
        if (t == this)
            throw DatabaseError(name() + QStringLiteral(": Circular DefTable reference"));
    }
    defTable_ = table;
}

void TDMTable::setDefFields(Dataset* dataset)
{
    if (dataset == defFields_)
        return;
    if (defFields_)
        FieldTemplate::release(*this);
    defFields_ = dataset;
    if (defFields_ && isActive())
        FieldTemplate::apply(*this, *defFields_);
}

void TDMTable::dataEvent(DataEvent event, Field* field)
{
    Dataset::dataEvent(event, field);
    if (!defSource_ || !defSource_->enabled || controlsDisabled())
        return;
    switch (event) {
    case DataEvent::FieldChange:
        if (defSource_->onDataChange)
            defSource_->onDataChange(*this, field);
        break;
    case DataEvent::RecordChange:
    case DataEvent::DatasetChange:
    case DataEvent::Scroll:
        if (defSource_->onDataChange)
            defSource_->onDataChange(*this, nullptr);
        break;
    case DataEvent::UpdateRecord:
        if (defSource_->onUpdateData)
            defSource_->onUpdateData(*this);
        break;
    }
}
