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

private:
    bool run(const QStringList& arguments);

    QTemporaryDir dir_;
    QByteArray savedHome_;
    bool hadHome_ = false;
    bool valid_ = false;
    QString problem_;
};
