#include "core/ErrorLog.h"

#include "core/ComputerName.h"
#include "core/Error.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString folderOf(const QTemporaryDir& dir)
{
    return dir.path() + QLatin1Char('/');
}

TEST(ErrorLog, WritesNothingWhenDebugIsOff)
{
    QTemporaryDir dir;
    ErrorLog log(folderOf(dir), false);
    log.NapakavLog(QStringLiteral("Pre Delete!"));
    EXPECT_FALSE(QFile::exists(folderOf(dir) + QStringLiteral("Log.txt")));
}

TEST(ErrorLog, CreatesTheFileThenAppendsLinesEndedByCrLf)
{
    QTemporaryDir dir;
    ErrorLog log(folderOf(dir), true);
    log.NapakavLog(QStringLiteral("Pre Delete!"));
    log.NapakavLog(QStringLiteral("Po Delete!"));

    QFile file(folderOf(dir) + QStringLiteral("Log.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QRegularExpression line(QStringLiteral(
        "^\\d\\d\\.\\d\\d\\.\\d{4}( \\d\\d:\\d\\d:\\d\\d)? : Pre Delete!\r\n"
        "\\d\\d\\.\\d\\d\\.\\d{4}( \\d\\d:\\d\\d:\\d\\d)? : Po Delete!\r\n$"));
    EXPECT_TRUE(line.match(text).hasMatch()) << text.toStdString();
}

TEST(ErrorLog, UnwritableFileReachesTheCaller)
{
    ErrorLog log(QStringLiteral("/nonexistent-folder/"), true);
    EXPECT_THROW(log.NapakavLog(QStringLiteral("x")), ZtfiError);
}

TEST(ComputerName, IsTheHostNameCutTo19Characters)
{
    const QString name = computerName();
    EXPECT_LE(name.size(), 19);
    EXPECT_FALSE(name.isEmpty());
}

}  // namespace
