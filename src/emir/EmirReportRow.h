#pragma once

#include <QDate>
#include <QDateTime>

// One EMIR report (EMIRPOROCILO) as the report list shows it.
struct EmirReportRow {
    qint64 id = 0;                 // EMIRPorociloId
    int serial = 0;                // ZapSt
    QDate firstDay;                // DanOd
    QDate lastDay;                 // DanDo
    int unconfirmed = 0;           // StNepotrjenih
    QDate reportDay;               // DanPorocila
    QDateTime preparedAt;          // DanCasKreiranja: invalid before the first XML file
    bool cancelled = false;        // Preklicano "D"
    QDateTime cancelledAt;         // DanCasPreklica
    qint64 cancelsId = 0;          // EMIRPorociloStnId: the report this one cancels, 0 for none
    int cancelsSerial = 0;         // ZapStPreklicano
};

// Which actions of the tab "EMIR" are open, given the current report and dispute.
struct EmirActions {
    bool addRpt = true;
    bool editRpt = false;
    bool deleteRpt = false;
    bool cancel = false;
    bool refresh = true;
    bool emirXml = false;
    bool importXls = false;
    bool addPsl = false;
    bool editPsl = false;
    bool deletePsl = false;

    // A current report (cancelled or not) and whether there is a current dispute.
    static EmirActions forSelection(bool hasReport, bool reportCancelled, bool hasDispute);
};
