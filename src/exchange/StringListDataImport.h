#pragma once

#include "exchange/DataImportSource.h"

// Rows held in memory: a list whose entries are text lists, one per row.
class TStringListDataImport : public TBaseDataImport {
public:
    // The text at the index of the current row's list. Throws EDataImportError when the current
    // row is outside the list, its entry is empty or not a text list, or the index is beyond it.
    Cell GetValue(int index) override;
    bool Eof() override;
    void First() override { row_ = 0; }
    // Throws EDataImportError "TStringListDataImport.Next: FList = nil!" without rows.
    void Next() override;
    void SetData(const QVariantList* rows) override;
    const QVariantList* GetData() const override { return rows_; }

protected:
    QString className() const override { return QStringLiteral("TStringListDataImport"); }

private:
    QStringList checkRecord() const;

    const QVariantList* rows_ = nullptr;
    int row_ = 0;
};
