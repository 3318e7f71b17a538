#pragma once

#include "signing/CopyWriter.h"

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
    // sorted by DPATVPID and ZAPST first; it is opened when closed. writers: makes the writers
    // of the copies into the server folders (the system's when empty).
    ReportSigner(const Config& config, const QString& programFolder, Interaction& ui,
                 Connection& connection, TDMTable& registerTable, CopyWriterFactory writers = {});

    // The action of the button "Podpis in kriptiranje poročila": asks for the credentials and
    // signs the selected report file (no file selected: nothing is signed). Errors pass to the
    // caller, as SignAndSend's.
    void bSignClick(const QString& selectedFile);

    // Signs and encrypts one report file that waits in the program folder (WaitingReports)
    // into base + ".sig"; when deliver is set, copies the report to XMLPath_Server and the
    // signature to SIGPath_Server (waiting for each folder at most CakanjeStreznik seconds,
    // with no transaction open), then records the send date on the report's unsent register
    // row (SendRecording) and removes the files from the program folder. Returns the path of
    // the signature where it now lies.
    //
    // Throws ZtfiError when anything of it did not happen: the file does not wait, it is not
    // the file that was registered under its name (ReportDigest), another signing of it runs,
    // gpg made no signature, a copy failed (the copy message and the system's reason) or the
    // send could not be recorded (its message and the reason). The report then stays in the program folder, no send is recorded, and the server folders
    // hold what they held before: no copy of this delivery, an earlier copy of the name
    // restored.
    QString SignAndSend(const QString& file, const QString& user, const QString& passPhrase,
                        const QString& recipient, bool deliver);

    // Whether a report file is delivered after signing: every file but the EMIR report files
    // (whose names begin with "EMIR" in any case).
    static bool isDelivered(const QString& file);
    // "Napaka pri popravku v DPATVP!"
    static QString registerFailureMessage();

private:
    // sha256: the digest of the report file, read before it was signed.
    QString deliver(const QString& file, const QString& sha256);
    bool isServerFolder(const QString& folder) const;

    const Config& config_;
    QString programFolder_;
    Interaction& ui_;
    Connection& connection_;
    TDMTable& registerTable_;
    CopyWriterFactory writers_;
};
