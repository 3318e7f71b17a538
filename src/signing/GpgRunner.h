#pragma once

#include <QString>
#include <QStringList>

// One run of gpg that signs a file with the signer's key and encrypts it for the recipient.
struct GpgSignRequest {
    QString executable;
    QString input;       // the file to sign
    QString output;      // the ".sig" file to write
    QString user;        // the signing key (--local-user)
    QString passPhrase;  // of the signing key
    QString recipient;   // the encryption key (--recipient)
};

// Runs gpg as a separate process, started with an argument list (no shell), the pass phrase
// handed over on standard input, never on the command line; gpg's status lines are read from
// its standard output. Waits for gpg to end, at most the
// given time, while the event loop keeps running so the window stays responsive.
class GpgRunner {
public:
    static constexpr int kDefaultTimeoutMs = 60000;

    explicit GpgRunner(int timeoutMs = kDefaultTimeoutMs) : timeoutMs_(timeoutMs) {}

    // True when gpg ended normally with exit status 0 and the output file exists. A run that
    // failed, could not start or took too long (gpg is then killed) leaves no output file.
    bool signAndEncrypt(const GpgSignRequest& request);

    // What gpg wrote on its error output in the last run, or why it could not run.
    const QString& diagnostics() const { return diagnostics_; }
    // The status lines ("[GNUPG:] ...") gpg wrote in the last run.
    const QStringList& statusLines() const { return statusLines_; }

    // The arguments given to gpg (the pass phrase is not among them).
    static QStringList arguments(const GpgSignRequest& request);

private:
    int timeoutMs_;
    QString diagnostics_;
    QStringList statusLines_;
};
