#pragma once

#include <QString>
#include <Qt>

class Dataset;

// Data types of dataset fields; fieldTypeName gives the identifier that messages quote
// ("ftString", "ftBCD", ...).
enum class FieldType {
    Unknown,
    String,
    SmallInt,
    Integer,
    Word,
    Boolean,
    Float,
    Currency,
    BCD,
    Date,
    Time,
    DateTime,
    Blob,
    Memo,
    AutoInc,
    FixedChar,
    WideString,
};

QString fieldTypeName(FieldType type);

// Whole numbers: small integer, integer, word, auto-increment.
bool isIntegerType(FieldType type);
// Whole numbers and the decimal types (float, currency, BCD).
bool isNumericType(FieldType type);
// Date, time, date-time.
bool isDateTimeType(FieldType type);
// String, fixed-character, wide-string and memo fields.
bool isTextType(FieldType type);

// The declaration of a field of a dataset, as a window declares it. The display settings are
// what grids, export, print and the audit content read.
struct FieldDef {
    enum class Kind { Data, Calculated };

    QString name;                  // the column name (case-insensitive match)
    FieldType type = FieldType::String;
    int size = 0;                  // characters of a string field
    QString displayLabel;          // empty: the name
    int displayWidth = 0;          // characters; 0: by type and size
    bool visible = true;
    QString displayFormat;         // "0", ",0.00", "dd.mm.yyyy hh:nn"; empty: the plain text
    QString editFormat;
    QString editMask;
    Qt::Alignment alignment = {};  // empty: right for numbers, else left
    bool readOnly = false;
    bool required = false;
    Kind kind = Kind::Data;
    QString origin;                // "TABLE.COLUMN" where known

    // Lookup references, taken over from template fields (see FieldTemplate.h).
    Dataset* lookupDataset = nullptr;
    QString lookupKeyFields;
    QString lookupResultField;
    QString keyFields;
};
