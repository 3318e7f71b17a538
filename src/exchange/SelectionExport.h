#pragma once

#include "exchange/CellBlock.h"

#include <QDate>
#include <QString>

class Interaction;
class ReportRows;

// The report rows of a selection as a worksheet: a header row, then one row of nineteen values
// per report row, in the order of the rows: the day as a date cell, the time as a time cell, the
// price and the quantity as numbers, the reference number as a whole number, every other value
// as a text. The same layout is what the import of manual transactions reads back.
class SelectionExport {
public:
    // The name of the worksheet written by "Izvoz nabora".
    static QString sheetTitle();
    static constexpr int kColumns = 19;

    explicit SelectionExport(ReportRows& rows) : rows_(rows) {}

    // The export reports its progress (the rows collected, the writing) to ui, which may cancel
    // write() until the workbook is written (CancellableAction with cancelledMessage(): no file).
    void reportProgressTo(Interaction& ui) { progress_ = &ui; }
    static QString cancelledMessage();

    // Throws "Nabor je prazen! Izvoz ni možen!" when the selection has no report rows.
    void requireRows() const;

    // Every value of the sheet, the headers in row 1, each checked with the field-format check
    // where the layout asks for it; the first value that fails throws the check's message. The
    // report rows are left after their last row.
    CellBlock values();

    // Writes the values as a workbook under fileName, the sheet named sheetTitle: all values are
    // collected and checked first, then the file is written under a temporary name and renamed
    // into place. A failure throws "Napaka pri pisanju datoteke <path>: <reason>" and leaves no
    // file under fileName.
    void write(const QString& sheetTitle, const QString& fileName);

private:
    void fillRow(CellBlock& block, int row);
    // A number field as a number cell; nothing when it is empty.
    void putNumber(CellBlock& block, int row, int column, const char* field) const;
    // Columns 12 to 15: counterparty, its kind, client, its kind.
    void fillParties(CellBlock& block, int row);
    void fillClient(CellBlock& block, int row);
    // The counterparty by the BIC of a field, "CC" for both columns when the field is empty.
    void fillCounterpartyBic(CellBlock& block, int row, const char* column);
    QString text(const char* column) const;
    QString checked(const char* column, const char* format, const QString& prefix = QString()) const;

    ReportRows& rows_;
    Interaction* progress_ = nullptr;
};

// "Izvoz nabora": refuses an empty selection, asks for the file (the program folder and a name
// with today's date proposed), writes the report rows there and opens the written file with the
// desktop's application for it. Cancelling the file choice ends it. Failures are thrown.
void exportSelectionToChosenFile(ReportRows& rows, Interaction& ui, const QString& programFolder,
                                 const QDate& today);
