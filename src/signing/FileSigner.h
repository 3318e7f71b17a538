#pragma once

#include <QString>

class Interaction;

// The signing of one file that reports and PDF documents share: checks that gpg is there,
// removes what an earlier run left, runs gpg and reports a failed run.
class FileSigner {
public:
    // gnuPgPath: the configured GnuPG folder, resolved against the program folder.
    FileSigner(const QString& gnuPgPath, const QString& programFolder, Interaction& ui);

    // Signs and encrypts folder + file into folder + signatureName(file). Shows
    // gpgMissingMessage() or signingFailedMessage() and returns false when no signature was made.
    bool sign(const QString& folder, const QString& file, const QString& user,
              const QString& passPhrase, const QString& recipient);

    // The file name without its extension, followed by ".sig".
    static QString signatureName(const QString& file);

    // "Nastavitve za GnuPG niso Ok, preverite ZTFI.ini!!"
    static QString gpgMissingMessage();
    // "Napaka pri podpisovanju poročila!"
    static QString signingFailedMessage();

private:
    QString gnuPgPath_;
    QString programFolder_;
    Interaction& ui_;
};
