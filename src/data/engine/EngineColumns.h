#pragma once

#include "data/dataset/FieldDef.h"

#include <QList>
#include <QString>

class QSqlQuery;

// A column of an executed statement as the engine reports it.
struct EngineColumn {
    QString name;
    FieldType type = FieldType::Unknown;  // the field type to create for the column
    int size = 0;                         // characters of a text column
    // The engine reports the column's type from its declaration (false for the expression
    // columns of the embedded engine, whose type is guessed from the first row's value).
    bool declaredType = true;
};

// The columns of an active (executed) query, in result order. The embedded engine reports
// the declared types of table columns ("NUMBER(10)", "VARCHAR2(3)", "REAL", "DATE"), read
// through its statement handle; other engines report through the driver's record (PostgreSQL
// with the names the program wrote, see FoldedNames.h, and its dates as not declared, so that a
// declared time of day or day keeps its type).
QList<EngineColumn> engineColumns(const QSqlQuery& query);

// The field type of a column type name of the embedded engine; Unknown for an empty name.
FieldType fieldTypeOfDeclaredType(const QString& declaredType, int* size = nullptr);
