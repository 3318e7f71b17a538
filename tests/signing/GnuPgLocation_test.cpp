#include "signing/GnuPgLocation.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(GnuPgLocation, ResolvesTheConfiguredFolder)
{
    const QString program = QStringLiteral("/opt/ztfi/");
    struct Case {
        const char* configured;
        const char* folder;
    };
    const Case cases[] = {
        {"", ""},
        {"/usr/bin", "/usr/bin/"},
        {"/usr/bin/", "/usr/bin/"},
        {"/usr/bin\\", "/usr/bin/"},
        {"GnuPG", "/opt/ztfi/GnuPG/"},
        {"tools/gnupg/", "/opt/ztfi/tools/gnupg/"},
        {"\\GnuPG\\", "/opt/ztfi/GnuPG/"},
        {"\\tools\\GnuPG\\", "/opt/ztfi/tools/GnuPG/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configured);
        const GnuPgLocation location = GnuPgLocation::resolve(QString::fromUtf8(c.configured), program);
        EXPECT_EQ(location.folder(), QString::fromUtf8(c.folder));
        EXPECT_EQ(location.logFile(), location.folder().isEmpty() ? QString()
                                                                   : location.folder() + QStringLiteral("gnupg.log"));
    }
}

TEST(GnuPgLocation, FindsTheExecutableInTheFolderOrOnThePath)
{
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    ASSERT_TRUE(QDir(program.path()).mkpath(QStringLiteral("GnuPG")));
    const QString gpg = QStandardPaths::findExecutable(QStringLiteral("gpg"));
    ASSERT_FALSE(gpg.isEmpty());
    const QString folder = program.path() + QLatin1Char('/');

    EXPECT_EQ(GnuPgLocation::resolve(QString(), folder).executable(), gpg);
    EXPECT_EQ(GnuPgLocation::resolve(QStringLiteral("GnuPG"), folder).executable(), QString());
    ASSERT_TRUE(QFile::link(gpg, program.filePath(QStringLiteral("GnuPG/gpg"))));
    EXPECT_EQ(GnuPgLocation::resolve(QStringLiteral("\\GnuPG\\"), folder).executable(),
              program.filePath(QStringLiteral("GnuPG/gpg")));
}

}  // namespace
