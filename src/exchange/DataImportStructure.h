#pragma once

#include <QString>

#include <deque>

enum TDataImportDataType { didtString, didtInteger, didtFloat, didtDate, didtTime, didtDateTime };

// One declared column of the data import component.
struct TDataImportStructureItem {
    int Column = 0;  // zero-based column of the source (without header names)
    TDataImportDataType DataType = didtString;
    bool CheckDataType = true;
    QString Name;  // by which values are fetched, and the header text with header names
    // Kept for the callers; the reading does not use them.
    QString DestName;
    bool Required = false;
};

// The declared columns, in the order their values are kept in each row read.
class TDataImportStructure {
public:
    // A new item with the defaults, at the end; the reference stays valid until Clear.
    TDataImportStructureItem& Add();
    void Clear() { items_.clear(); }
    int Count() const { return int(items_.size()); }
    const TDataImportStructureItem& Items(int index) const { return items_.at(size_t(index)); }
    TDataImportStructureItem& Items(int index) { return items_.at(size_t(index)); }
    // The index of the item named so, ignoring case; -1 when there is none.
    int IndexOf(const QString& name) const;

private:
    std::deque<TDataImportStructureItem> items_;
};
