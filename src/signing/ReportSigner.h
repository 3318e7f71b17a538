#pragma once

#include <QString>

class Connection;
class Interaction;
class TDMTable;
struct Config;

// Signing, encryption and delivery of the report files of the program folder: gpg signs the
// report for the regulator, the send date goes into the report's register row and the report
// and its signature are copied into the configured server folders.
class ReportSigner {
public:
    // registerTable: the table component of DPATVP (its audit hooks run for every change),
    // sorted by DPATVPID and ZAPST first; it is opened when closed.
    ReportSigner(const Config& config, const QString& programFolder, Interaction& ui,
                 Connection& connection, TDMTable& registerTable);

    // The action of the button "Podpis in kriptiranje poročila": asks for the credentials and
    // signs the selected report file (no file selected: nothing is signed). Database errors
    // pass to the caller, as SignAndSend's.
    void bSignClick(const QString& selectedFile);

    // Signs and encrypts one report file of the program folder into base + ".sig"; when
    // deliver is set and the signature was made, records the send date in the register and
    // copies the files to XMLPath_Server and SIGPath_Server. Reports by messages; a failed
    // register update rolls back and throws ZtfiError registerFailureMessage() (no copies).
    void SignAndSend(const QString& file, const QString& user, const QString& passPhrase,
                     const QString& recipient, bool deliver);

    // Whether a report file is delivered after signing: every file but the EMIR report files
    // (whose names begin with "EMIR" in any case).
    static bool isDelivered(const QString& file);
    // "Napaka pri popravku v DPATVP!"
    static QString registerFailureMessage();

private:
    void recordSend(const QString& file);
    void deliverReport(const QString& file);
    void deliverSignature(const QString& signature);

    const Config& config_;
    QString programFolder_;
    Interaction& ui_;
    Connection& connection_;
    TDMTable& registerTable_;
};
