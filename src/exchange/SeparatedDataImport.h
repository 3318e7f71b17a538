#pragma once

#include "exchange/DataImportSource.h"

#include <QStringList>

#include <optional>

// A text file of one row per line, its fields parted by one separator character, without
// quoting. The file is read as UTF-8 when it is valid UTF-8, else as Windows-1250.
class TSeparatedDataImport : public TBaseDataImport {
public:
    explicit TSeparatedDataImport(QChar separator) : separator_(separator) {}

    // The field of the current line; an index beyond its fields gives the empty text.
    Cell GetValue(int index) override;
    bool Eof() override;
    void First() override;
    void Next() override;

    // The fields of a line: the text up to each separator is a field, and what follows the last
    // separator is the last field unless it is empty ("a;b;" gives two fields, "a;;c" three).
    static QStringList split(const QString& line, QChar separator);

protected:
    QString className() const override { return QStringLiteral("TSeparatedDataImport"); }
    void DoOpen(const QString& fileName) override;

private:
    // Throws EDataImportError "TSeparatedDataImport: data not loaded." before a file is open.
    void requireOpen() const;

    QChar separator_;
    bool open_ = false;
    QStringList lines_;
    int line_ = 0;
    std::optional<QStringList> fields_;
};
