#pragma once

#include <QString>
#include <QVariant>

class Field;

// The SQL literal of a key value compared with a field in a table's range filter, by the
// field's type: "NULL" for a NULL value; a text in single quotes with inner quotes doubled;
// a number unquoted (converted to the field's number first, so no text reaches the filter
// unquoted; decimals with a point, as SQL reads them); a date, time or date-time in quotes in
// the system's formats ('05.01.2026', '15:45:10', '05.01.2026 15:45:10', the date alone at
// midnight). Any other field type raises ZtfiError "SQLSetRange : Unknown field type: ftX
// (component.table)"; a value the field cannot hold raises the conversion error.
QString rangeLiteral(const Field& field, const QVariant& value, const QString& componentName,
                     const QString& tableName);
