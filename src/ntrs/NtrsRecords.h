#pragma once

#include "ntrs/NtrsBinding.h"

#include <QHash>
#include <QString>

#include <utility>

class Dataset;
class Field;
class InstrumentRowIndex;
class ReportRows;

// Fills the records of an NTRS report from the current rows of the report rows (qDPATVPPSL)
// and of the instrument code list (qSifrantFinInstr). Every value passes the field-format
// check, whose errors name the current report row's reference; the first value that does not
// fit stops the report with that error.
class NtrsRecords {
public:
    // instrumentPrefix: VP_OXU_Prefiks, put before every instrument internal code.
    NtrsRecords(const ReportRows& rows, const QString& instrumentPrefix);

    // One instrument of the code list, from the current row of the code list.
    void fillInstrument(TXMLSifrantRecordInfoCompleteDescriptionType record, const Dataset& instrument) const;
    // One transaction, from the current report row; its AII group from the code-list row of
    // its instrument (the code list is moved to that row).
    void fillTransaction(TXMLTransactionRecordInfoCompleteDescriptionType record, InstrumentRowIndex& instruments) const;
    // One cancellation, from the current report row.
    void fillCancellation(TXMLCancellationRecordInfoType record) const;

    // Whether the current report row is left out of the report: a row matched with a counter
    // trade (IDPSLTRP set) that is not on own account while the counter trade is.
    bool skipsCurrentRow() const;
    // Whether the current report row is a cancellation (ISSTN "D").
    bool currentRowIsCancellation() const;

private:
    // An instrument without ISIN that is an option or a future carries the AII group.
    static bool hasAiiGroup(const Dataset& instrument);
    void fillAii(TXMLAIIType group, const Dataset& instrument) const;
    void fillParties(TXMLTransactionRecordInfoCompleteDescriptionType& record) const;
    void counterpartyByBic(TXMLTransactionRecordInfoCompleteDescriptionType& record, const char* column) const;
    void clientRule(TXMLTransactionRecordInfoCompleteDescriptionType& record) const;

    // ProveraFormata on a column of a dataset.
    QString check(const Dataset& data, const char* column, const char* format, const QString& suffix = QString(),
                  const QString& prefix = QString()) const;
    // The firm's SWIFT code checked and filled with "X" to 11 characters.
    QString firmIdentification(const Dataset& data) const;
    QString rowText(const char* column) const;
    const Field& rowField(const char* column) const;
    // A field of a dataset by its column name, looked up once for all rows: the datasets stay
    // open, with the same fields, while a report is filled.
    const Field& field(const Dataset& data, const char* column) const;

    // A format of the field format check by its text, made once for all rows.
    const QString& format(const char* text) const;

    using FieldKey = std::pair<const Dataset*, const char*>;

    const ReportRows& rows_;
    QString instrumentPrefix_;
    mutable QHash<FieldKey, const Field*> fields_;
    mutable QHash<const char*, QString> formats_;
};
