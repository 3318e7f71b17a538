#include "signing/GpgRunner.h"
#include "support/GpgTestHome.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class GpgRunnerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { home_ = std::make_unique<GpgTestHome>(); }
    static void TearDownTestSuite() { home_.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(home_->valid()) << home_->problem().toStdString();
        ASSERT_TRUE(dir_.isValid());
        writeAll(dir_.filePath(QStringLiteral("report.xml")), "<report/>\n");
    }

    GpgSignRequest request(const QString& passPhrase) const
    {
        GpgSignRequest r;
        r.executable = QStandardPaths::findExecutable(QStringLiteral("gpg"));
        r.input = dir_.filePath(QStringLiteral("report.xml"));
        r.output = dir_.filePath(QStringLiteral("report.sig"));
        r.user = GpgTestHome::firmUser();
        r.passPhrase = passPhrase;
        r.recipient = GpgTestHome::regulatorUser();
        return r;
    }

    // A stand-in for gpg that runs the given shell commands (for runs real gpg cannot be made
    // to do on purpose: hang, fail after writing its output).
    QString standIn(const QByteArray& commands) const
    {
        const QString path = dir_.filePath(QStringLiteral("gpg-stand-in"));
        writeAll(path, "#!/bin/sh\n" + commands);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return path;
    }

    static std::unique_ptr<GpgTestHome> home_;
    QTemporaryDir dir_{QStringLiteral("/tmp/gpgrunXXXXXX")};
};

std::unique_ptr<GpgTestHome> GpgRunnerTest::home_;

TEST_F(GpgRunnerTest, SignsForTheRecipientAndAWrongPassPhraseRightAfterFails)
{
    GpgRunner gpg;
    ASSERT_TRUE(gpg.signAndEncrypt(request(GpgTestHome::firmPassPhrase()))) << gpg.diagnostics().toStdString();
    const GpgTestHome::Opened opened = home_->open(dir_.filePath(QStringLiteral("report.sig")));
    EXPECT_TRUE(opened.decrypted) << opened.diagnostics.toStdString();
    EXPECT_TRUE(opened.goodSignature) << opened.diagnostics.toStdString();
    EXPECT_EQ(opened.signer, GpgTestHome::firmUser());
    EXPECT_EQ(opened.content, QByteArray("<report/>\n"));

    // The agent keeps no pass phrase: the wrong one fails, and the failed run leaves no file.
    EXPECT_FALSE(gpg.signAndEncrypt(request(QStringLiteral("napacno geslo"))));
    EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("report.sig"))));
    EXPECT_FALSE(gpg.diagnostics().isEmpty());
}

TEST_F(GpgRunnerTest, PassPhraseGoesOnStandardInputAndEveryValueIsOneArgument)
{
    const QString arguments = dir_.filePath(QStringLiteral("arguments"));
    const QString input = dir_.filePath(QStringLiteral("stdin"));
    GpgSignRequest r = request(QStringLiteral("a \"b\" c; rm -rf x"));
    r.executable = standIn("for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + arguments.toUtf8()
                           + "'\ncat > '" + input.toUtf8() + "'\ntouch '" + r.output.toUtf8() + "'\n");
    r.user = QStringLiteral("Firma \"X\" d.d. $(id)");
    r.recipient = QStringLiteral("ATVP 'y' `id`");

    GpgRunner gpg;
    ASSERT_TRUE(gpg.signAndEncrypt(r)) << gpg.diagnostics().toStdString();
    const QStringList expected{QStringLiteral("--batch"), QStringLiteral("--yes"),
                               QStringLiteral("--pinentry-mode"), QStringLiteral("loopback"),
                               QStringLiteral("--passphrase-fd"), QStringLiteral("0"),
                               QStringLiteral("--status-fd"), QStringLiteral("1"),
                               QStringLiteral("--output"), r.output,
                               QStringLiteral("--sign"), QStringLiteral("--local-user"), r.user,
                               QStringLiteral("--encrypt"), QStringLiteral("--recipient"), r.recipient,
                               QStringLiteral("--always-trust"), QStringLiteral("--"), r.input};
    EXPECT_EQ(QString::fromUtf8(readAll(arguments)).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    EXPECT_EQ(readAll(input), r.passPhrase.toUtf8() + '\n');
}

// Runs that must not count as signed, whatever output file they leave.
TEST_F(GpgRunnerTest, AFailedOrUnfinishedRunLeavesNoOutput)
{
    struct Case {
        const char* name;
        QByteArray commands;
        int timeoutMs;
    };
    const QString out = dir_.filePath(QStringLiteral("report.sig"));
    const Case cases[] = {
        {"exit status 2 after writing", "cat >/dev/null\necho partial > '" + out.toUtf8() + "'\nexit 2\n", 10000},
        {"still running at the deadline", "cat >/dev/null\necho partial > '" + out.toUtf8() + "'\nexec sleep 30\n", 300},
        {"exit status 0 without output", "cat >/dev/null\nexit 0\n", 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GpgSignRequest r = request(QStringLiteral("x"));
        r.executable = standIn(c.commands);
        GpgRunner gpg(c.timeoutMs);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(gpg.signAndEncrypt(r));
        EXPECT_LT(clock.elapsed(), 8000);
        EXPECT_FALSE(QFile::exists(out));
    }

    GpgSignRequest missing = request(QStringLiteral("x"));
    missing.executable = dir_.filePath(QStringLiteral("no-such-gpg"));
    GpgRunner gpg;
    EXPECT_FALSE(gpg.signAndEncrypt(missing));
    EXPECT_FALSE(gpg.diagnostics().isEmpty());
}

TEST_F(GpgRunnerTest, WaitsForTheEndWhileEventsKeepBeingProcessed)
{
    GpgSignRequest r = request(QStringLiteral("x"));
    r.executable = standIn("cat >/dev/null\nsleep 1\necho signed > '" + r.output.toUtf8() + "'\n");
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    GpgRunner gpg;
    EXPECT_TRUE(gpg.signAndEncrypt(r));
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(readAll(r.output), QByteArray("signed\n"));
}

}  // namespace
