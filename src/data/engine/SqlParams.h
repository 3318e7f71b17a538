#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

// A named value of a statement, written ":Name" in its text.
class SqlParam {
public:
    enum class DataType { Unknown, String, Integer, Float, Date, DateTime, Time };

    explicit SqlParam(const QString& name) : name_(name) {}

    const QString& name() const { return name_; }
    DataType dataType() const { return dataType_; }
    // The value as set (QDate for a date, QDateTime for a date-time); invalid for NULL.
    const QVariant& value() const { return value_; }
    bool isNull() const { return !value_.isValid() || value_.isNull(); }
    // The value as a statement binds it: a NULL carries the parameter's type, so that every
    // driver knows what it binds.
    QVariant boundValue() const;
    // A value or NULL has been set since the parameter was created or cleared.
    bool isBound() const { return bound_; }

    void setAsString(const QString& value) { set(DataType::String, value); }
    void setAsInteger(qint64 value) { set(DataType::Integer, value); }
    void setAsFloat(double value) { set(DataType::Float, value); }
    void setAsDate(const QDate& value);
    void setAsDateTime(const QDateTime& value);
    void setAsTime(const QTime& value);
    // NULL of the current data type.
    void setNull();
    // Back to "no value".
    void clear();

private:
    void set(DataType type, const QVariant& value);

    QString name_;
    DataType dataType_ = DataType::Unknown;
    QVariant value_;
    bool bound_ = false;
};

// The parameters of a statement, in the order of their first occurrence; names are matched
// without regard to case.
class SqlParams {
public:
    int count() const { return int(items_.size()); }
    SqlParam& at(int index) { return items_[index]; }
    const SqlParam& at(int index) const { return items_[index]; }
    SqlParam* find(const QString& name);
    const SqlParam* find(const QString& name) const;
    // Throws DatabaseError "Parameter 'X' not found".
    SqlParam& byName(const QString& name);
    // Makes the list the parameters of a new statement text: one per name, values of the
    // names that stay are kept.
    void assignNames(const QStringList& names);

private:
    QList<SqlParam> items_;
};

// A ":Name" placeholder in a statement text.
struct SqlPlaceholder {
    qsizetype start = 0;   // position of the ":"
    qsizetype length = 0;  // including the ":"
    QString name;
};

// The placeholders of a statement text in order; quoted text and comments are skipped.
QList<SqlPlaceholder> sqlPlaceholders(const QString& sql);
// The distinct parameter names of a statement text (first spelling, any case).
QStringList sqlParamNames(const QString& sql);
