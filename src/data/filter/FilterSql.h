#pragma once

#include <QString>
#include <QVariant>

class Dataset;

// A filter text turned into the WHERE condition of a table's SELECT.
struct SqlCondition {
    QString sql;          // with "?" for every bound value
    QVariantList values;  // in placeholder order
};

// Turns a filter text as the system writes it (comparisons "FIELD op literal" joined by AND
// and OR, dates in the short date format) into a condition the engine evaluates with the
// same meaning. Comparisons of a field of the dataset with a quoted literal are rewritten:
//   date, time, date-time field: the literal read as "dd.mm.yyyy [hh:mm:ss]" (or "hh:mm:ss")
//     is bound as a value (the engine stores dates as numbers, not as that text);
//   text field, "=" with a literal ending in "*": the field starts with the text before it;
//   text field with caseInsensitive: both sides upper-cased.
// "FIELD = NULL" and "FIELD <> NULL" become IS NULL / IS NOT NULL. Everything else (other
// names, quoted text elsewhere, literals that are not dates) passes unchanged.
SqlCondition filterToSql(const QString& filter, const Dataset& dataset, bool caseInsensitive);
