#pragma once

#include <QString>
#include <QStringList>

// The statements of the EMIR registry, in the Oracle dialect with named parameters. They name
// no database: they run on the program's one connection, opened by the alias of the command line.
namespace EmirStatements {

// The report list: the reports with the serial number of the report each one cancels, filtered
// on the first day of the period by the bounds that are set, in the order of that day.
QStringList reportList(bool hasFrom, bool hasTo);
// The disputes of one report (:EMIRPorociloId).
QStringList disputeList();

QString selectReport();        // :Id
QString maxSerial();           // column ZapSt
QString insertReport();
QString updateReport();
QString insertCancellingReport();
QString cancelReport();        // :Preklicano, :DanCas, :Id
QString setCancelled();        // :Preklicano, :Id
QString deleteReportDisputes();  // :Id
QString deleteReport();        // :Id
QString stampReport();         // :DanCasKreiranja, :EMIRPorociloId

QString selectDispute();       // :Id
QString insertDispute();
QString updateDispute();
QString deleteDispute();       // :Id

// The back-office registration number of the firm (:SfOsb 2), column MTS.
QString firmRegistration();

}  // namespace EmirStatements
