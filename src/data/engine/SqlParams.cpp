#include "data/engine/SqlParams.h"

#include "core/Error.h"
#include "data/engine/SqlNameChar.h"

namespace {

// The end of a quoted text, comment or nothing that starts at i; i itself when none starts.
qsizetype skipOpaque(const QString& sql, qsizetype i)
{
    const QChar c = sql[i];
    if (c == u'\'' || c == u'"') {
        qsizetype j = i + 1;
        while (j < sql.size()) {
            if (sql[j] == c) {
                if (j + 1 < sql.size() && sql[j + 1] == c) {
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return sql.size();
    }
    if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') {
        const qsizetype end = sql.indexOf(u'\n', i);
        return end < 0 ? sql.size() : end;
    }
    if (c == u'/' && i + 1 < sql.size() && sql[i + 1] == u'*') {
        const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? sql.size() : end + 2;
    }
    return i;
}

}  // namespace

QVariant SqlParam::boundValue() const
{
    if (!isNull())
        return value_;
    switch (dataType_) {
    case DataType::String: return QVariant(QMetaType::fromType<QString>());
    case DataType::Integer: return QVariant(QMetaType::fromType<qlonglong>());
    case DataType::Float: return QVariant(QMetaType::fromType<double>());
    case DataType::Date: return QVariant(QMetaType::fromType<QDate>());
    case DataType::DateTime: return QVariant(QMetaType::fromType<QDateTime>());
    case DataType::Time: return QVariant(QMetaType::fromType<QTime>());
    case DataType::Unknown: break;
    }
    return QVariant();
}

void SqlParam::setAsDate(const QDate& value)
{
    set(DataType::Date, value.isValid() ? QVariant(value) : QVariant());
}

void SqlParam::setAsDateTime(const QDateTime& value)
{
    set(DataType::DateTime, value.isValid() ? QVariant(value) : QVariant());
}

void SqlParam::setAsTime(const QTime& value)
{
    set(DataType::Time, value.isValid() ? QVariant(value) : QVariant());
}

void SqlParam::setNull()
{
    set(dataType_, QVariant());
}

void SqlParam::clear()
{
    value_ = QVariant();
    bound_ = false;
}

void SqlParam::set(DataType type, const QVariant& value)
{
    dataType_ = type;
    value_ = value;
    bound_ = true;
}

SqlParam* SqlParams::find(const QString& name)
{
    for (SqlParam& p : items_) {
        if (p.name().compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

const SqlParam* SqlParams::find(const QString& name) const
{
    return const_cast<SqlParams*>(this)->find(name);
}

SqlParam& SqlParams::byName(const QString& name)
{
    SqlParam* p = find(name);
    if (!p)
        throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
    return *p;
}

void SqlParams::assignNames(const QStringList& names)
{
    QList<SqlParam> next;
    for (const QString& name : names) {
        const SqlParam* old = find(name);
        next.append(old ? *old : SqlParam(name));
    }
    items_ = next;
}

QList<SqlPlaceholder> sqlPlaceholders(const QString& sql)
{
    QList<SqlPlaceholder> found;
    qsizetype i = 0;
    while (i < sql.size()) {
        const qsizetype skipped = skipOpaque(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        const bool startsName = sql[i] == u':' && i + 1 < sql.size() && isNameChar(sql[i + 1])
                                && (i == 0 || sql[i - 1] != u':');
        if (!startsName) {
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < sql.size() && isNameChar(sql[end]))
            ++end;
        found.append({i, end - i, sql.mid(i + 1, end - i - 1)});
        i = end;
    }
    return found;
}

QStringList sqlParamNames(const QString& sql)
{
    QStringList names;
    for (const SqlPlaceholder& p : sqlPlaceholders(sql)) {
        bool known = false;
        for (const QString& n : names)
            known = known || n.compare(p.name, Qt::CaseInsensitive) == 0;
        if (!known)
            names.append(p.name);
    }
    return names;
}
