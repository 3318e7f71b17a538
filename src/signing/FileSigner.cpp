#include "signing/FileSigner.h"

#include "core/Error.h"
#include "core/ProgramFolder.h"
#include "signing/GnuPgLocation.h"
#include "signing/GpgFailure.h"
#include "signing/GpgRunner.h"

#include <QFile>
#include <QFileInfo>

FileSigner::FileSigner(const QString& gnuPgPath, const QString& programFolder)
    : gnuPgPath_(gnuPgPath), programFolder_(programFolder)
{
}

QString FileSigner::signatureName(const QString& file)
{
    return QFileInfo(file).completeBaseName() + QStringLiteral(".sig");
}

QString FileSigner::gpgMissingMessage()
{
    return QStringLiteral("Nastavitve za GnuPG niso Ok, preverite ZTFI.ini!!");
}

QString FileSigner::signingFailedMessage()
{
    return QStringLiteral("Napaka pri podpisovanju poročila!");
}

void FileSigner::sign(const QString& folder, const QString& file, const QString& user,
                      const QString& passPhrase, const QString& recipient)
{
    const GnuPgLocation gnuPg = GnuPgLocation::resolve(gnuPgPath_, programFolder_);
    GpgSignRequest request;
    request.executable = gnuPg.executable();
    if (request.executable.isEmpty())
        throw ZtfiError(gpgMissingMessage());
    request.input = ProgramFolder::join(folder, file);
    request.output = ProgramFolder::join(folder, signatureName(file));
    request.user = user;
    request.passPhrase = passPhrase;
    request.recipient = recipient;

    // A signature left by an earlier run must not pass for the result of this one.
    QFile::remove(request.output);
    if (!gnuPg.logFile().isEmpty())
        QFile::remove(gnuPg.logFile());

    GpgRunner gpg;
    if (!gpg.signAndEncrypt(request)) {
        const QString reason = GpgFailure::reason(gpg.statusLines(), gpg.diagnostics());
        throw ZtfiError(reason.isEmpty() ? signingFailedMessage()
                                         : signingFailedMessage() + QLatin1Char('\n') + reason);
    }
}
