#pragma once

#include "data/dataset/Dataset.h"
#include "data/engine/TableIndexes.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QSqlQuery;

struct DataSource;

// A table component over one table of the connection: the rows of
// "SELECT * FROM table [WHERE filter] ORDER BY sort fields", with inserts, changes and deletes
// written back by the table's unique key. The sort-field list is completed with the unique
// key's fields on open, so every table has a total, repeatable order; SQLSetRange restricts
// the table to the rows whose leading sort fields equal given values.
//
// Filter texts are comparisons joined by AND/OR as the system writes them, with dates in the
// short date format ("DATUM = '05.01.2026'"); the table runs them as the WHERE condition of
// its SELECT (see FilterSql.h for how date literals and NULL comparisons reach the engine).
class TDMTable : public Dataset {
    Q_OBJECT

public:
    TDMTable(Connection& connection, const QString& name, QObject* parent = nullptr);
    ~TDMTable() override;

    const QString& tableName() const { return tableName_; }
    // Only while closed.
    void setTableName(const QString& table);

    // The sort-field list, ";"-separated ("DPATVPID;IDPSL").
    const QString& IndexFieldNames() const { return indexFieldNames_; }
    // Sets the list and, when open, re-reads the rows in the new order.
    virtual void setIndexFieldNames(const QString& names);
    // The fields of the table's first unique index (";"-separated), empty when it has none;
    // read from the engine on first use and kept until the table is closed.
    QString KeyFieldNames();
    // The list followed by the key fields it does not name yet (names compared upper-cased,
    // blanks not trimmed): "Datum" with the key IDIMP gives "Datum;IDIMP".
    QString CompleteIndexFieldNames(const QString& names);
    // The table's index definitions (primary key first).
    QList<TableIndex> indexDefs() const;

    // Filter text and switch; a change while open re-reads the rows.
    const QString& filter() const { return filter_; }
    void setFilter(const QString& text);
    bool filtered() const { return filtered_; }
    void setFiltered(bool on);
    // Compare texts without regard to case; "FIELD = 'AB*'" then means "starts with AB".
    bool filterCaseInsensitive() const { return filterCaseInsensitive_; }
    void setFilterCaseInsensitive(bool on);

    // Key lookup: the filter becomes SQLRangeFilter(values, values) and filtering is on;
    // true when at least one row matched (the current row is then the first of them). The
    // values are matched against the leading fields of the sort-field list; surplus values are
    // ignored. Throws on a closed table.
    bool SQLSetRange(const QVariantList& values);
    // "F1 = v1 AND F2 >= s2 AND F2 <= e2 ..." over the sort fields; literals by field type.
    QString SQLRangeFilter(const QVariantList& startValues, const QVariantList& endValues) const;

    // Editing. edit() needs a current row; post() writes an INSERT, or an UPDATE addressed by
    // the row's key as read; deleteRecord() deletes the current row by its key. A write that
    // fails (hook or engine) leaves the table in its edit state, so the caller can cancel.
    void insert();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Re-reads the rows, staying on the current row's key where it is still shown.
    void refresh();

    // Audit hooks, called just before the write, inside the caller's transaction; an
    // exception aborts the write.
    std::function<void(TDMTable& table, bool inserting)> beforePost;
    std::function<void(TDMTable& table)> beforeDelete;
    // For every field in field order: its text (asString), "#|", its name, "#|".
    QString rowContent() const;

    // The own caption, else the DefTable's; setting the DefTable's caption keeps it inherited.
    QString caption() const;
    void setCaption(const QString& caption);
    // Template table whose beforePost/beforeDelete also run (before this table's own),
    // with this table as the argument. Not owned; a circular chain is refused.
    TDMTable* DefTable() const { return defTable_; }
    void setDefTable(TDMTable* table);
    // Template dataset whose field settings are copied on open (FieldTemplate.h). Not owned.
    Dataset* DefFields() const { return defFields_; }
    void setDefFields(Dataset* dataset);
    // Data source whose handlers are also raised for this table's changes. Not owned.
    DataSource* DefSource() const { return defSource_; }
    void setDefSource(DataSource* source) { defSource_ = source; }
    bool IgnoreTableAliases() const { return ignoreTableAliases_; }
    void setIgnoreTableAliases(bool ignore) { ignoreTableAliases_ = ignore; }
    // How many applied templates use this table as a lookup table.
    int LookupUseCount() const { return lookupUseCount_; }
    void setLookupUseCount(int count) { lookupUseCount_ = count; }

protected:
    void openCursor() override;
    void closeCursor() override;
    void dataEvent(DataEvent event, Field* field) override;
    // Runs after the fields are bound and before the rows are selected with the filter.
    virtual void prepareCursor() {}
    // Sets the sort list without re-reading the rows.
    void assignIndexFieldNames(const QString& names) { indexFieldNames_ = names; }
    // Re-reads the rows with the current filter and sort list and moves to the first row.
    void requery();

private:
    void selectRows();
    QList<Field*> addressFields();
    QString addressCondition(const QList<Field*>& fields, QVariantList& values) const;
    void requireUniqueAddress(const QList<Field*>& fields);
    void insertRow();
    void updateRow();
    void deleteRow();
    void runBeforePost(TDMTable& sender, bool inserting);
    void runBeforeDelete(TDMTable& sender);

    QString tableName_;
    QString indexFieldNames_;
    std::optional<QString> keyFieldNames_;
    QString filter_;
    bool filtered_ = false;
    bool filterCaseInsensitive_ = false;
    QString caption_;
    TDMTable* defTable_ = nullptr;
    Dataset* defFields_ = nullptr;
    DataSource* defSource_ = nullptr;
    bool ignoreTableAliases_ = false;
    int lookupUseCount_ = 0;
    // On the embedded engine the insert posted last stays prepared while the next one has the
    // same columns, as when a selection posts a row per selected trade.
    QString insertSql_;
    std::unique_ptr<QSqlQuery> insert_;
};
