#pragma once

#include "data/dataset/Field.h"
#include "data/engine/EngineColumns.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class Connection;
class QSqlQuery;

// The common base of the queries and tables: the fields (declared, or created from the
// engine's columns when none are declared), the rows, buffered on open so the dataset can be
// walked both ways and re-read, and the notifications that attached views (DatasetModel) follow.
class Dataset : public QObject {
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert, CalcFields };
    // Change notifications, raised to attached views unless their controls are disabled.
    enum class DataEvent { FieldChange, RecordChange, DatasetChange, Scroll, UpdateRecord };

    // name: the component name ("tDPATVP"), used in messages.
    Dataset(Connection& connection, const QString& name, QObject* parent = nullptr);
    ~Dataset() override;

    const QString& name() const { return name_; }
    Connection& connection() const { return *connection_; }

    // Declares a field (only while closed). The reference stays valid for the dataset's life.
    Field& addField(const FieldDef& def);
    int fieldCount() const { return int(fields_.size()); }
    Field& field(int index) const;
    // Case-insensitive; nullptr when the dataset has no such field.
    Field* findField(const QString& name) const;
    // Case-insensitive; throws ZtfiError "Field 'X' not found in dataset 'name'".
    Field& fieldByName(const QString& name) const;
    QList<Field*> fields() const;
    // Moves a field to another position of the field list (grids show fields in list order).
    void setFieldIndex(Field& field, int index);

    void open();
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    void setActive(bool active) { active ? open() : close(); }
    State state() const { return state_; }

    // Navigation over the buffered rows (throws on a closed dataset).
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return rowCount_ == 0; }
    int recordCount() const { return rowCount_; }
    // The current row, 0-based; -1 when there is none.
    int recNo() const { return current_; }
    void setRecNo(int row);
    // Moves to the first row whose fields (";"-separated names) hold the values; the current
    // row stays when none does. Texts are compared with the given case sensitivity.
    bool locate(const QString& keyFields, const QVariantList& values,
                Qt::CaseSensitivity textCase = Qt::CaseSensitive);

    // The stored value of a field on any row (for views).
    QVariant valueAt(int row, const Field& field) const;

    // While disabled (counted), attached views are not notified; enabling the last time
    // raises one dataset change.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

    // Computes the calculated fields of the current row: called once for every row when the
    // rows are read and again for a row after it has been posted.
    std::function<void(Dataset&)> onCalcFields;

signals:
    // Rows, fields or the open state changed: views re-read everything.
    void datasetChanged();
    void currentRowChanged(int row);
    // Fields were created, removed or moved. Raised also while controls are disabled, so a
    // view never keeps a field that is gone.
    void fieldsChanged();

protected:
    // Runs the dataset's statement(s): binds the fields (bindFields) and reads the rows
    // (loadRows). Called by open.
    virtual void openCursor() = 0;
    // After the rows are gone on close.
    virtual void closeCursor() {}
    // Creates or adapts the fields for the engine's columns (see adaptDeclaredFields).
    virtual void defineFields(const QList<EngineColumn>& columns);
    // Raises the notification to attached views (unless disabled).
    virtual void dataEvent(DataEvent event, Field* field);

    // Fields from the columns of an executed query, then the mapping of fields to columns; a
    // declared data field without a column is an error.
    void bindFields(const QList<EngineColumn>& columns);
    // Declared fields whose type differs from the column's within the same kind of value
    // (whole or decimal number, date and time, text) take the column's type and keep every
    // other setting and their position; across kinds the declared type stays (the embedded
    // engine stores dates as REAL numbers).
    void adaptDeclaredFields(const QList<EngineColumn>& columns);
    // A field created from a column (removed again on close).
    Field& createField(const FieldDef& def);
    // Replaces the rows by those of the executed query (its columns bound by bindFields),
    // computes the calculated fields and moves to the first row.
    void loadRows(QSqlQuery& query);

    // Editing primitives for writable datasets.
    void beginRowEdit(bool inserting);
    // The value being edited, by field.
    QVariant editedValue(const Field& field) const;
    // Stores the edited row into the buffer (an inserted row at the current position).
    void storeEditedRow();
    void discardEditedRow();
    void removeCurrentRow();

private:
    friend class Field;

    QVariant currentValue(const Field& field) const;
    void setFieldValue(Field& field, const QVariant& value);
    void calculateRow(int row);
    void moveTo(int row);
    void requireActive() const;
    void releaseCreatedFields();

    Connection* connection_;
    QString name_;
    std::vector<std::unique_ptr<Field>> fields_;
    State state_ = State::Inactive;
    int slotCount_ = 0;
    // rowCount_ rows of slotCount_ values, held in blocks: reading more rows never moves (or
    // holds twice) the rows read so far, as one growing array of a large result would.
    std::deque<QVariant> rows_;
    int rowCount_ = 0;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    std::vector<QVariant> editRow_;
    int disableCount_ = 0;
    bool changePending_ = false;
};
