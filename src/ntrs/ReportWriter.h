#pragma once

#include "data/engine/Dialect.h"

#include <QDate>
#include <QDateTime>
#include <QString>

class AuditTrail;
class CodeList;
class Connection;
class ErrorLog;
class Interaction;
class NtrsDocument;
class ZtfiError;
class ReportRows;
struct Config;
struct RegenerationState;

// Decides, record by record, what a report written to be checked takes (ReportWriter::writeContent).
class RecordGuard {
public:
    enum class Kind { Instrument, ReportRow };  // a record of the code list, or of a report row
    virtual ~RecordGuard() = default;
    // A record of the kind is about to be filled from the current row of its list.
    virtual void begin(Kind kind) = 0;
    // It was filled, or error stopped its filling; whether it goes into the document.
    virtual bool keep(const ZtfiError* error) = 0;
};

// What the selection tab gives the generation.
struct ReportRequest {
    QDate firstDay;    // dtpDan, "Datum od": DANOD of the register row
    QDate lastDay;     // dtpDanDo, "Datum do": DANPOROCANJA of the register row
    QDateTime now;     // the moment of the generation: creation date and time, serial year
};

// The outcome of a generation run that reached its end, for the window to show. The window
// always switches to the tab tsATVP afterwards.
struct ReportOutcome {
    bool valid = false;     // the report passed the schema and stands in the register
    QString fileName;       // the report's name without folder ("TRDAT01_..._yy.xml")
    QString filePath;       // its full path (eXMLFile when the validation failed)
    QString badFilePath;    // where the report that failed its validation lies (".bad")
    QString errorLine;      // the one line of mXMLNapake: location, a comma, the reason
    int serial = 0;         // ZAPST
    int status = 0;         // STATUS

    // Label1, eXMLFile and mXMLNapake are shown exactly when the validation failed.
    bool showErrors() const { return !valid; }
};

// "Generiranje XML poročila" (bbGenXMLClick): turns the open report rows and instrument code
// list into one NTRS report, writes it into the program folder, validates it against the
// schema it names and registers it in DPATVP under the next serial number of the year (in
// regeneration mode under the prepared serial, with the rejected report's status plus one).
//
// A report file is written under a temporary name and renamed into place when complete. A
// report that would carry the name of a report that the register holds (sent or not), or of a
// file delivered to the server folders, is refused (it would overwrite it), with nothing written.
class ReportWriter {
public:
    ReportWriter(Connection& connection, const Config& config, const ErrorLog& log, const AuditTrail& audit,
                 const QString& programFolder);

    // Every failure before the end throws ZtfiError with its message (nothing written to the
    // database; a run stopped by an error leaves the regeneration state set). A report that
    // fails its validation is no error: the outcome says so, and the regeneration state is
    // cleared as after a valid one.
    ReportOutcome bbGenXMLClick(ReportRows& rows, CodeList& codeList, RegenerationState& regeneration,
                                const ReportRequest& request);

    // The writing reports its progress (rows of the code list and of the report rows, the
    // validation) to ui, which may cancel the generation until its report is put in place
    // (CancellableAction with cancelledMessage(): no file, nothing registered).
    void reportProgressTo(Interaction& ui) { progress_ = &ui; }
    static QString cancelledMessage();

    // The content of the report into document: the root's attributes (the moment now), the code
    // list, the transactions and cancellations of the report rows, each value through the field
    // format check. Without a guard the first error passes on; with one every record is filled
    // and the guard decides which of them the document takes.
    void writeContent(NtrsDocument& document, ReportRows& rows, CodeList& codeList, const QDateTime& now,
                      RecordGuard* guard = nullptr) const;

    // The message that refuses a report whose name an unsent register row already holds.
    static QString unsentNamesakeMessage(const QString& fileName);
    // The message that refuses a report whose name a sent report holds, in the register or in
    // the server folders (XMLPath_Server, SIGPath_Server).
    static QString sentNamesakeMessage(const QString& fileName);

private:
    void trace(const QString& message) const;
    QString creationTimeOffset(const QDateTime& now) const;
    void refuseTakenName(const QString& fileName) const;
    bool deliveredUnder(const QString& fileName) const;
    // The register row and the digest of its file, in one step.
    void registerReport(qint64 reportId, const ReportRequest& request, int serial, int status,
                        const QString& fileName, const QString& digest) const;

    Connection& connection_;
    const Config& config_;
    SqlDialect dialect_;
    const ErrorLog& log_;
    const AuditTrail& audit_;
    QString programFolder_;
    Interaction* progress_ = nullptr;
};
