#pragma once

#include "exchange/Cell.h"

#include <QString>
#include <QVariantList>

// A source of rows for the data import component: a worksheet, a separated text file or rows
// held in memory. A source has a current row; values are fetched from it by zero-based column.
class IDataImportSource {
public:
    virtual ~IDataImportSource() = default;

    // The value of the column in the current row; throws when the source cannot give it.
    virtual Cell GetValue(int index) = 0;
    virtual QString GetFileName() const = 0;
    // True when there is no current row.
    virtual bool Eof() = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void Open(const QString& fileName) = 0;
    // Rows held in memory: a list whose entries are text lists (QStringList). Not owned.
    virtual void SetData(const QVariantList* rows) = 0;
    virtual const QVariantList* GetData() const = 0;
};

// The common part of the sources: Open checks that the file exists, opens it through DoOpen and
// remembers its name; sources without in-memory rows ignore SetData.
class TBaseDataImport : public IDataImportSource {
public:
    QString GetFileName() const override { return fileName_; }
    // Throws EDataImportError "File "<name>" does not exist." when there is no such file.
    void Open(const QString& fileName) final;
    void SetData(const QVariantList*) override {}
    const QVariantList* GetData() const override { return nullptr; }

protected:
    // The class name that the source's messages quote.
    virtual QString className() const = 0;
    virtual void DoOpen(const QString&) {}

private:
    QString fileName_;
};
