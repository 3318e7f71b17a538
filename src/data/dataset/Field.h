#pragma once

#include "data/dataset/FieldDef.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

class Dataset;

// A field of a dataset: its declaration (display settings that grids, export, print and the
// audit content read) and the access to its value on the dataset's current row (or the row
// being edited). A Field object lives as long as its dataset; fields that the dataset created
// from the engine's columns (nothing declared) live while the dataset is open.
class Field {
public:
    Field(Dataset& dataset, const FieldDef& def, bool declared);
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    Dataset& dataset() const { return *dataset_; }
    const FieldDef& def() const { return def_; }
    const QString& name() const { return def_.name; }
    FieldType type() const { return def_.type; }
    int size() const { return def_.size; }
    bool isCalculated() const { return def_.kind == FieldDef::Kind::Calculated; }
    // Declared by the window (kept over close), as opposed to created from the engine's columns.
    bool isDeclared() const { return declared_; }
    // Position in the dataset's field list.
    int index() const;
    // 1-based number of the result column the field reads; 0 for calculated fields and while
    // the dataset is closed.
    int fieldNo() const { return column_ + 1; }

    QString displayLabel() const { return def_.displayLabel.isEmpty() ? def_.name : def_.displayLabel; }
    void setDisplayLabel(const QString& label) { def_.displayLabel = label; }
    int displayWidth() const;
    void setDisplayWidth(int width) { def_.displayWidth = width; }
    bool visible() const { return def_.visible; }
    void setVisible(bool visible) { def_.visible = visible; }
    const QString& displayFormat() const { return def_.displayFormat; }
    void setDisplayFormat(const QString& format) { def_.displayFormat = format; }
    const QString& editFormat() const { return def_.editFormat; }
    void setEditFormat(const QString& format) { def_.editFormat = format; }
    const QString& editMask() const { return def_.editMask; }
    void setEditMask(const QString& mask) { def_.editMask = mask; }
    // Right for numbers, left otherwise, unless declared.
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment) { def_.alignment = alignment; }
    bool readOnly() const { return def_.readOnly; }
    void setReadOnly(bool readOnly) { def_.readOnly = readOnly; }
    bool required() const { return def_.required; }
    void setRequired(bool required) { def_.required = required; }
    const QString& origin() const { return def_.origin; }
    void setOrigin(const QString& origin) { def_.origin = origin; }
    Dataset* lookupDataset() const { return def_.lookupDataset; }
    const QString& lookupKeyFields() const { return def_.lookupKeyFields; }
    const QString& lookupResultField() const { return def_.lookupResultField; }
    const QString& keyFields() const { return def_.keyFields; }
    void setLookup(Dataset* dataset, const QString& keyFields, const QString& lookupKeyFields,
                   const QString& resultField);

    // The value on the current row (while editing: the edited value). Dates are QDate,
    // date-times QDateTime, times QTime; NULL is an invalid QVariant.
    QVariant value() const;
    bool isNull() const;
    // Text of the value: numbers in their shortest decimal form with a decimal comma, dates
    // "dd.mm.yyyy" (date-time fields with the time appended when it is not midnight), NULL empty.
    QString asString() const;
    qint64 asInteger() const;
    double asFloat() const;
    QDateTime asDateTime() const;
    QDate asDate() const;
    bool asBoolean() const;
    // The text as grids show it: asString, or the display format applied when one is set.
    QString displayText() const;
    // The value of the row as stored, while the row is being edited.
    QVariant oldValue() const;

    // Sets the value of the row being edited (or of a calculated field while the dataset
    // calculates). The value is converted to the field's type: a text is read as the system
    // writes it (decimal comma, "dd.mm.yyyy [hh:mm:ss]"), an empty text clears the field.
    void setValue(const QVariant& value);
    void clear() { setValue(QVariant()); }

    // The value converted to a field type; throws ZtfiError when it cannot be converted.
    static QVariant convert(FieldType type, const QVariant& value);
    // asString and displayText of any value of this field (another row than the current one).
    QString textOf(const QVariant& value) const;
    QString displayTextOf(const QVariant& value) const;

private:
    friend class Dataset;

    Dataset* dataset_;
    FieldDef def_;
    bool declared_;
    int slot_ = -1;    // position in the row buffer
    int column_ = -1;  // result column, -1 when none
};
