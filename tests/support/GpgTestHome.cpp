#include "support/GpgTestHome.h"

#include <QFile>
#include <QProcess>

GpgTestHome::GpgTestHome() : dir_(QStringLiteral("/tmp/gpgXXXXXX"))
{
    hadHome_ = qEnvironmentVariableIsSet("GNUPGHOME");
    savedHome_ = qgetenv("GNUPGHOME");
    if (!dir_.isValid()) {
        problem_ = dir_.errorString();
        return;
    }
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile agentConf(dir_.filePath(QStringLiteral("gpg-agent.conf")));
    if (!agentConf.open(QIODevice::WriteOnly) ||
        agentConf.write("default-cache-ttl 0\nmax-cache-ttl 0\nallow-loopback-pinentry\n") < 0) {
        problem_ = agentConf.errorString();
        return;
    }
    agentConf.close();
    qputenv("GNUPGHOME", dir_.path().toLocal8Bit());
    valid_ = run({QStringLiteral("--passphrase"), firmPassPhrase(), QStringLiteral("--quick-gen-key"),
                  firmUser(), QStringLiteral("future-default"), QStringLiteral("sign"), QStringLiteral("never")})
             && run({QStringLiteral("--passphrase"), QString(), QStringLiteral("--quick-gen-key"),
                     regulatorUser(), QStringLiteral("future-default"), QStringLiteral("default"),
                     QStringLiteral("never")})
             // Made as on the first day of 2020, valid for one day.
             && run({QStringLiteral("--faked-system-time"), QStringLiteral("20200101T000000!"),
                     QStringLiteral("--passphrase"), firmPassPhrase(), QStringLiteral("--quick-gen-key"),
                     expiredFirmUser(), QStringLiteral("future-default"), QStringLiteral("sign"),
                     QStringLiteral("1d")})
             && run({QStringLiteral("--faked-system-time"), QStringLiteral("20200101T000000!"),
                     QStringLiteral("--passphrase"), QString(), QStringLiteral("--quick-gen-key"),
                     expiredRegulatorUser(), QStringLiteral("future-default"), QStringLiteral("default"),
                     QStringLiteral("1d")});
}

GpgTestHome::~GpgTestHome()
{
    if (dir_.isValid()) {
        QProcess::execute(QStringLiteral("gpgconf"),
                          {QStringLiteral("--homedir"), dir_.path(), QStringLiteral("--kill"),
                           QStringLiteral("gpg-agent")});
    }
    if (hadHome_)
        qputenv("GNUPGHOME", savedHome_);
    else
        qunsetenv("GNUPGHOME");
}

bool GpgTestHome::run(const QStringList& arguments)
{
    QProcess gpg;
    gpg.start(QStringLiteral("gpg"), QStringList{QStringLiteral("--homedir"), dir_.path(),
                                                 QStringLiteral("--batch"),
                                                 QStringLiteral("--pinentry-mode"),
                                                 QStringLiteral("loopback")}
                                         + arguments);
    gpg.closeWriteChannel();
    if (!gpg.waitForFinished(60000) || gpg.exitStatus() != QProcess::NormalExit || gpg.exitCode() != 0) {
        problem_ = QStringLiteral("gpg %1: %2").arg(arguments.join(QLatin1Char(' ')),
                                                   QString::fromLocal8Bit(gpg.readAllStandardError()));
        return false;
    }
    return true;
}

GpgTestHome::Opened GpgTestHome::open(const QString& signatureFile) const
{
    Opened opened;
    const QString contentFile = dir_.filePath(QStringLiteral("opened.out"));
    QFile::remove(contentFile);
    QProcess gpg;
    gpg.start(QStringLiteral("gpg"),
              {QStringLiteral("--homedir"), dir_.path(), QStringLiteral("--batch"), QStringLiteral("--yes"),
               QStringLiteral("--status-fd"), QStringLiteral("1"), QStringLiteral("--output"), contentFile,
               QStringLiteral("--decrypt"), signatureFile});
    gpg.closeWriteChannel();
    gpg.waitForFinished(60000);
    const QString status = QString::fromUtf8(gpg.readAllStandardOutput());
    opened.diagnostics = status + QString::fromLocal8Bit(gpg.readAllStandardError());
    const QStringList lines = status.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("[GNUPG:] DECRYPTION_OKAY")))
            opened.decrypted = true;
        if (line.startsWith(QLatin1String("[GNUPG:] GOODSIG "))) {
            opened.goodSignature = true;
            opened.signer = line.section(QLatin1Char(' '), 3);
        }
    }
    QFile content(contentFile);
    if (content.open(QIODevice::ReadOnly))
        opened.content = content.readAll();
    return opened;
}
