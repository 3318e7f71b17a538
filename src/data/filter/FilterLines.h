#pragma once

#include "data/dataset/FieldDef.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// The filter lines of a filter table: lines of "field operator value" conditions joined by
// "AND"/"OR", values taken literally or from named parameters, turned into a filter text and,
// for file-based engines, into a key range over the sort fields.

// What the filter lines need to know of a field of their dataset.
struct FilterField {
    QString name;              // as the dataset knows it
    FieldType type = FieldType::Unknown;
    int size = 0;              // characters of a string field
};

// The fields of the dataset a filter works on.
class FilterFieldSource {
public:
    virtual ~FilterFieldSource() = default;
    // The field of that name (any case), or nothing.
    virtual std::optional<FilterField> findFilterField(const QString& name) const = 0;
};

// A named value that filter lines refer to as ":Name". The kind counts towards the weight of
// the set parameters (unknown 0, input 1, output 2, input-output 3, result 4).
struct FilterParam {
    enum class Kind { Unknown, Input, Output, InputOutput, Result };

    QString name;
    FieldType dataType = FieldType::Unknown;
    Kind kind = Kind::Input;
    QVariant value;            // invalid or null: NULL

    bool isNull() const { return !value.isValid() || value.isNull(); }
};

// Parameters by name; names are matched without regard to case.
class FilterParams {
public:
    const QList<FilterParam>& items() const { return items_; }
    bool isEmpty() const { return items_.isEmpty(); }
    FilterParam* find(const QString& name);
    const FilterParam* find(const QString& name) const;
    // The parameter of that name, appended when missing.
    FilterParam& add(const QString& name, FieldType dataType,
                     FilterParam::Kind kind = FilterParam::Kind::Input);
    // Sets the value of an existing parameter; false when there is none of that name.
    bool setValue(const QString& name, const QVariant& value);
    // Copies the value of every parameter of `from` into the parameter of the same name here.
    void assignValues(const FilterParams& from);
    // Sum of the kinds of the parameters that are not NULL.
    int weight() const;

private:
    QList<FilterParam> items_;
};

// One condition of a line with the link that follows it.
struct FilterCondition {
    FilterField field;
    QString op;                // upper-cased: > < = LIKE >= <= <>
    QString value;             // the value token as written
    QString paramName;         // set when the value names a parameter
    QString link;              // "AND" or "OR"
};

// The filter lines with their parameters and, once parsed, their conditions.
class FilterLines {
public:
    const QStringList& lines() const { return lines_; }
    // New lines: parsed again at the next parse().
    void setLines(const QStringList& lines);
    bool isParsed() const { return parsed_; }

    // Splits and checks the lines against the fields (when not yet parsed). Every parameter that
    // a line names is created with the field's data type and takes the value of the current
    // parameter of that name. On a fault throws ZtfiError with the system's message; the
    // conditions are then cleared and the parameters stay as they were.
    void parse(const FilterFieldSource& fields);

    const QList<FilterCondition>& conditions() const { return conditions_; }
    const FilterParams& params() const { return params_; }
    FilterParams& params() { return params_; }

private:
    QStringList lines_;
    QList<FilterCondition> conditions_;
    FilterParams params_;
    bool parsed_ = false;
};

// A comparison kept for the key range: field, operator, value without quotes.
struct RangeCondition {
    QString field;
    QString op;
    QString value;
};

struct BuiltFilter {
    QStringList groups;                   // "(a OR b)" per group joined by AND
    QList<RangeCondition> rangeConditions;
    bool caseInsensitive = false;         // a LIKE asked for a case-insensitive filter
    // "(" + group + ") AND " ... "(" + last group + ")"
    QString text() const;
};

struct FilterBuildOptions {
    bool sqlServer = true;
    bool caseInsensitiveFilter = false;
};

BuiltFilter buildFilterText(const QList<FilterCondition>& conditions, const FilterParams& params,
                            const FilterBuildOptions& options);

struct KeyRange {
    QStringList start;
    QStringList end;
    bool isEmpty() const { return start.isEmpty() && end.isEmpty(); }
};

// The range over the leading sort fields that the recorded comparisons pin down.
KeyRange filterKeyRange(const QList<RangeCondition>& conditions, const QStringList& sortFields);

// The condition that no row satisfies: one term per key field by its type, joined by " AND ".
QString emptyResultCondition(const QList<FilterField>& keyFields);

// The character that closes the range of a prefix (Ž).
QChar filterPrefixEnd();
// The string that matches no stored value (the character with code 255).
QString noMatchString();
