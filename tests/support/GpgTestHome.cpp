#include "support/GpgTestHome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

GpgTestHome::GpgTestHome() : dir_(QStringLiteral("/tmp/gpgXXXXXX"))
{
    hadHome_ = qEnvironmentVariableIsSet("GNUPGHOME");
    savedHome_ = qgetenv("GNUPGHOME");
    if (!dir_.isValid()) {
        problem_ = dir_.errorString();
        return;
    }
    if (!prepareHome(dir_.path(), &problem_))
        return;
    qputenv("GNUPGHOME", dir_.path().toLocal8Bit());
    const QString set = QStringLiteral(ZTFI_TEST_GPG_KEYS);
    valid_ = QFileInfo::exists(set + QStringLiteral("/complete")) ? copyKeys(set, dir_.path(), &problem_)
                                                                   : makeKeys(dir_.path(), &problem_);
}

GpgTestHome::~GpgTestHome()
{
    if (dir_.isValid())
        stopAgent(dir_.path());
    if (hadHome_)
        qputenv("GNUPGHOME", savedHome_);
    else
        qunsetenv("GNUPGHOME");
}

void GpgTestHome::stopAgent(const QString& home)
{
    QProcess::execute(QStringLiteral("gpgconf"),
                      {QStringLiteral("--homedir"), home, QStringLiteral("--kill"), QStringLiteral("gpg-agent")});
}

bool GpgTestHome::prepareHome(const QString& home, QString* problem)
{
    if (!QDir().mkpath(home)) {
        *problem = QStringLiteral("cannot make %1").arg(home);
        return false;
    }
    QFile::setPermissions(home, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // A fixed count of the pass phrase's hashing rounds spares the agent its seconds of measuring
    // the machine before it protects a key, and every signing the rounds of a measured count.
    QFile agentConf(home + QStringLiteral("/gpg-agent.conf"));
    if (!agentConf.open(QIODevice::WriteOnly) ||
        agentConf.write("default-cache-ttl 0\nmax-cache-ttl 0\nallow-loopback-pinentry\ns2k-count 65536\n") < 0) {
        *problem = agentConf.errorString();
        return false;
    }
    return true;
}

bool GpgTestHome::makeKeys(const QString& home, QString* problem)
{
    const auto run = [&](const QStringList& arguments) { return runGpg(home, arguments, problem); };
    return run({QStringLiteral("--passphrase"), firmPassPhrase(), QStringLiteral("--quick-gen-key"),
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

bool GpgTestHome::copyKeys(const QString& set, const QString& home, QString* problem)
{
    // The key ring, the trust data and the secret keys; the agent's sockets and its
    // configuration stay the home's own.
    QDirIterator files(set, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString relative = QDir(set).relativeFilePath(from);
        if (relative == QLatin1String("complete") || relative == QLatin1String("gpg-agent.conf"))
            continue;
        const QString to = home + QLatin1Char('/') + relative;
        if (!QDir().mkpath(QFileInfo(to).path()) || !QFile::copy(from, to)) {
            *problem = QStringLiteral("cannot copy %1 to %2").arg(from, to);
            return false;
        }
    }
    return true;
}

bool GpgTestHome::runGpg(const QString& home, const QStringList& arguments, QString* problem)
{
    QProcess gpg;
    gpg.start(QStringLiteral("gpg"), QStringList{QStringLiteral("--homedir"), home,
                                                 QStringLiteral("--batch"),
                                                 QStringLiteral("--pinentry-mode"),
                                                 QStringLiteral("loopback")}
                                         + arguments);
    gpg.closeWriteChannel();
    if (!gpg.waitForFinished(60000) || gpg.exitStatus() != QProcess::NormalExit || gpg.exitCode() != 0) {
        *problem = QStringLiteral("gpg %1: %2").arg(arguments.join(QLatin1Char(' ')),
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
