#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary GnuPG home for the signing tests, made active for the gpg that the program
// starts (GNUPGHOME). It holds the firm's signing key, protected by a pass phrase with a double
// quote and blanks, and the regulator's key (with an encryption subkey) without one; and one
// of each that expired long ago (the firm's with the same pass phrase). The agent
// caches no pass phrase, so a wrong one right after a right one fails. The path is short, as
// the agent's socket needs. The destructor stops the agent and restores GNUPGHOME.
// The keys come from the set the test run made once (ZTFI_TEST_GPG_KEYS) when it is there, else
// they are generated for this home.
class GpgTestHome {
public:
    GpgTestHome();
    ~GpgTestHome();
    GpgTestHome(const GpgTestHome&) = delete;
    GpgTestHome& operator=(const GpgTestHome&) = delete;

    static QString firmUser() { return QStringLiteral("Borzno posredniska hisa <podpis@firma.example>"); }
    static QString firmPassPhrase() { return QStringLiteral("tajno \"geslo\" 42"); }
    static QString regulatorUser() { return QStringLiteral("ATVP porocila <porocila@atvp.example>"); }
    static QString expiredFirmUser() { return QStringLiteral("Stara hisa <star@firma.example>"); }
    static QString expiredRegulatorUser() { return QStringLiteral("Stari ATVP <star@atvp.example>"); }

    bool valid() const { return valid_; }
    // Why the home could not be made.
    const QString& problem() const { return problem_; }
    QString path() const { return dir_.path(); }

    // What decrypting a ".sig" with the keys of the home gave.
    struct Opened {
        bool decrypted = false;   // decrypted with the regulator's key
        bool goodSignature = false;
        QString signer;           // the user id of the good signature
        QByteArray content;
        QString diagnostics;
    };
    Opened open(const QString& signatureFile) const;

    // A GnuPG home at HOME (made when missing) whose agent caches no pass phrase and takes
    // it from gpg; the four keys generated into it; its agent stopped.
    static bool prepareHome(const QString& home, QString* problem);
    static bool makeKeys(const QString& home, QString* problem);
    static void stopAgent(const QString& home);

private:
    // Copies the keys of a set that makeKeys made once for the test run.
    static bool copyKeys(const QString& set, const QString& home, QString* problem);
    static bool runGpg(const QString& home, const QStringList& arguments, QString* problem);

    QTemporaryDir dir_;
    QByteArray savedHome_;
    bool hadHome_ = false;
    bool valid_ = false;
    QString problem_;
};
