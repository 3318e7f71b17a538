#pragma once

#include <QString>
#include <QStringList>

class Connection;

// The report files that wait to be signed, as the tab "ATVP" lists them: the "*.xml" files of
// the program folder that the register holds as generated and not sent, and the EMIR report
// files (signed but never registered). Anything else of the folder (the database, ZTFI.ini, a
// sent report, a report file without its register row) is never signed.
namespace WaitingReports {

QStringList list(Connection& connection, const QString& programFolder);

// Throws ZtfiError notWaitingMessage(file) unless file is one of list().
void check(Connection& connection, const QString& programFolder, const QString& file);

// "Datoteka " + file + " ni med poročili, ki čakajo na pošiljanje!"
QString notWaitingMessage(const QString& file);

}  // namespace WaitingReports
