#include "signing/GpgRunner.h"

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

QStringList GpgRunner::arguments(const GpgSignRequest& request)
{
    return {QStringLiteral("--batch"),
            QStringLiteral("--yes"),
            QStringLiteral("--pinentry-mode"), QStringLiteral("loopback"),
            QStringLiteral("--passphrase-fd"), QStringLiteral("0"),
            QStringLiteral("--status-fd"), QStringLiteral("1"),
            QStringLiteral("--output"), request.output,
            QStringLiteral("--sign"),
            QStringLiteral("--local-user"), request.user,
            QStringLiteral("--encrypt"),
            QStringLiteral("--recipient"), request.recipient,
            QStringLiteral("--always-trust"),
            QStringLiteral("--"), request.input};
}

bool GpgRunner::signAndEncrypt(const GpgSignRequest& request)
{
    diagnostics_.clear();
    statusLines_.clear();
    QProcess gpg;
    gpg.setProgram(request.executable);
    gpg.setArguments(arguments(request));

    QEventLoop loop;
    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    QObject::connect(&gpg, &QProcess::started, &loop, [&] {
        gpg.write(request.passPhrase.toUtf8() + '\n');
        gpg.closeWriteChannel();
    });
    QObject::connect(&gpg, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&gpg, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });

    deadline.start(timeoutMs_);
    gpg.start();
    if (gpg.state() != QProcess::NotRunning)
        loop.exec();

    bool ok = false;
    if (timedOut) {
        gpg.kill();
        gpg.waitForFinished(5000);
        diagnostics_ = QStringLiteral("gpg did not end within %1 ms").arg(timeoutMs_);
    } else if (gpg.error() == QProcess::FailedToStart) {
        diagnostics_ = gpg.errorString();
    } else {
        diagnostics_ = QString::fromLocal8Bit(gpg.readAllStandardError());
        const QStringList lines = QString::fromUtf8(gpg.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("[GNUPG:] ")))
                statusLines_ << line.trimmed();
        }
        ok = gpg.exitStatus() == QProcess::NormalExit && gpg.exitCode() == 0
             && QFile::exists(request.output);
    }
    if (!ok)
        QFile::remove(request.output);
    return ok;
}
