#pragma once

#include "exchange/DataImportStructure.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>
#include <vector>

class IDataImportSource;
class Interaction;
class TDataImport;

enum TDataImportDataSource { didsExcel, didsTAB, didsSemicolon, didsStringList };

// One row read: the texts of the structure's items, in their order.
class TDataImportItem {
public:
    // Throws EDataImportError "TDataImportItem: invalid parameter value : AOwner." without a
    // component.
    explicit TDataImportItem(const TDataImport* owner);

    const QStringList& Values() const { return values_; }
    void Append(const QString& text) { values_.append(text); }
    // The text of the item named so (ignoring case); throws EDataImportError
    // "TDataImportItem: field <name> not found." for a name the structure does not hold.
    QString Value(const QString& name) const;

private:
    const TDataImport* owner_;
    QStringList values_;
};

// Reads a table of values from a worksheet (its first sheet), a tab- or semicolon-separated text
// file, or rows held in memory into rows of texts, one text per declared column, optionally
// tested against the column's type. A column that the source cannot give is announced with
// "V XLS datoteki manjka polje <name>." and the choice of Abort (the rows read so far stay) or
// Ignore (the column gives the empty value from then on, without asking again).
class TDataImport {
public:
    explicit TDataImport(Interaction& ui);
    ~TDataImport();
    TDataImport(const TDataImport&) = delete;
    TDataImport& operator=(const TDataImport&) = delete;

    const QString& FileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }
    // Edited in place.
    TDataImportStructure& Structure() { return structure_; }
    const TDataImportStructure& Structure() const { return structure_; }
    // Rows skipped before the first row read (1 skips a header line).
    int FirstRow() const { return firstRow_; }
    void setFirstRow(int rows) { firstRow_ = rows; }
    TDataImportDataSource DataSource() const { return dataSource_; }
    void setDataSource(TDataImportDataSource source) { dataSource_ = source; }
    bool IgnoreFormulaErrors() const { return ignoreFormulaErrors_; }
    void setIgnoreFormulaErrors(bool on) { ignoreFormulaErrors_ = on; }
    // A worksheet read as one block (error values of formulas are then kept).
    bool Preload() const { return preload_; }
    void setPreload(bool on) { preload_ = on; }
    // With a worksheet: the first row read names the columns, and items are found by Name.
    bool HeaderNames() const { return headerNames_; }
    void setHeaderNames(bool on) { headerNames_ = on; }
    // The text kept for an empty value.
    const QString& EmptyValue() const { return emptyValue_; }
    void setEmptyValue(const QString& text) { emptyValue_ = text; }
    // The rows of didsStringList: entries that are text lists.
    void setData(const std::optional<QVariantList>& rows) { data_ = rows; }

    // Reads the rows. Throws EDataImportError (and the type test's conversion error) as its
    // messages say; rows read before an exception are dropped by the next Load.
    void Load();

    int Count() const { return int(rows_.size()); }
    const TDataImportItem& Items(int index) const { return *rows_.at(size_t(index)); }
    void Clear() { rows_.clear(); }

private:
    std::unique_ptr<IDataImportSource> createSource() const;
    QStringList readHeader(IDataImportSource& source) const;
    // False when the user chose Abort.
    bool readRow(IDataImportSource& source, bool headerMode, const QStringList& header, std::vector<bool>& ignored);

    Interaction& ui_;
    QString fileName_;
    TDataImportStructure structure_;
    int firstRow_ = 0;
    TDataImportDataSource dataSource_ = didsExcel;
    bool ignoreFormulaErrors_ = true;
    bool preload_ = false;
    bool headerNames_ = false;
    QString emptyValue_;
    std::optional<QVariantList> data_;
    std::vector<std::unique_ptr<TDataImportItem>> rows_;
};
