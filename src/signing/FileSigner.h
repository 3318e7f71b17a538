#pragma once

#include <QString>

// The signing of one file that reports and PDF documents share: checks that gpg is there,
// removes what an earlier run left, runs gpg and reports a failed run.
class FileSigner {
public:
    // gnuPgPath: the configured GnuPG folder, resolved against the program folder.
    FileSigner(const QString& gnuPgPath, const QString& programFolder);

    // Signs and encrypts folder + file into folder + signatureName(file). Throws ZtfiError
    // gpgMissingMessage(), or signingFailedMessage() followed on the next lines by gpg's reason
    // (GpgFailure), when no signature was made.
    void sign(const QString& folder, const QString& file, const QString& user,
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
};
