#pragma once

#include "data/engine/Dialect.h"

#include <QString>

class Connection;
class Interaction;

// "Uvoz XLS": the disputes listed in the first worksheet of a workbook added to one report, all
// or none. Row 1 is a header; the rows go on to the first row whose column A is empty, with the
// party, counterparty, first day, last day, amount and notes in columns A to F. Each row passes
// the dispute dialog's checks and is inserted as the dialog inserts it, all in one transaction.
class EmirDisputeImport {
public:
    EmirDisputeImport(Connection& connection, SqlDialect dialect, Interaction& ui);

    // "Excel files (*.xls)|*.xls"
    static QString fileFilter();
    // "Uvoz podatkov iz datoteke "<file>" je končan."
    static QString finishedMessage(const QString& file);

    // Reads the workbook (its reading errors end the import before anything is written) and adds
    // its disputes to the report in one transaction; a row that fails its checks or its insert
    // rolls everything back and throws "Prišlo je do napake pri uvozu vrstice <n>: <message>",
    // n counting the data rows from 1. A row with values below the first row without a party
    // refuses the whole import the same way, naming the first such row. Returns the number of
    // disputes added.
    int importFile(const QString& file, qint64 reportId);

private:
    Connection& connection_;
    SqlDialect dialect_;
    Interaction& ui_;
};
