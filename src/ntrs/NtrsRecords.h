#pragma once

#include "ntrs/NtrsBinding.h"

#include <QString>

class Dataset;
class Field;
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
    // its instrument (codeList is moved to that row).
    void fillTransaction(TXMLTransactionRecordInfoCompleteDescriptionType record, Dataset& codeList) const;
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

    const ReportRows& rows_;
    QString instrumentPrefix_;
};
