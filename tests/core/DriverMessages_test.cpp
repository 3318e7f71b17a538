#include "core/DriverMessages.h"

#include "core/ErrorLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList passedOn;

void capture(QtMsgType, const QMessageLogContext&, const QString& message)
{
    passedOn << message;
}

class DriverMessagesTest : public testing::Test {
protected:
    void SetUp() override
    {
        passedOn.clear();
        previous = qInstallMessageHandler(capture);
    }
    void TearDown() override { qInstallMessageHandler(previous); }

    QString logText() const
    {
        QFile file(QDir(folder.path()).filePath(QStringLiteral("Log.txt")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir folder;
    QtMessageHandler previous = nullptr;
};

// Qt's driver lines go to Log.txt with Debug on, nowhere with it off; every other message takes
// its usual way, and so do driver lines once the desk has ended.
TEST_F(DriverMessagesTest, DriverLinesGoToTheLogOnly)
{
    for (const bool debug : {false, true}) {
        const ErrorLog log(folder.path() + QLatin1Char('/'), debug);
        {
            const DriverMessages routed(log);
            qWarning() << QStringLiteral("QODBCResult::exec: Unable to execute statement") << "\tError:"
                       << QStringLiteral("ERROR: could not determine data type of parameter $4");
            qWarning("QSqlQuery::exec: database not open");
            qWarning("Ein anderer Hinweis");
        }
        qWarning("QSQLITE::later");
    }
    EXPECT_EQ(passedOn, (QStringList{"Ein anderer Hinweis", "QSQLITE::later", "Ein anderer Hinweis", "QSQLITE::later"}));
    const QStringList lines = logText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << logText().toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" : \"QODBCResult::exec: Unable to execute statement\" \tError: "
                                                 "\"ERROR: could not determine data type of parameter $4\"")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" : QSqlQuery::exec: database not open")));
}

}  // namespace
