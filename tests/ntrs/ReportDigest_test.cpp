#include "ntrs/ReportDigest.h"

#include "core/Error.h"
#include "ntrs/ReportWriterFixture.h"
#include "support/EngineStories.h"

#include <QDir>
#include <QProcess>

using namespace fixture;
using namespace ntrsreport;

namespace {

class ReportDigestTest : public OnEachEngine<ReportWriterFixture> {
protected:
    QString refusal(const QString& file)
    {
        try {
            ReportDigest::check(db.connection(), file, ReportDigest::ofFile(QDir(programFolder()).filePath(file)));
        } catch (const ZtfiError& e) {
            return e.message();
        }
        return QString();
    }
};

// The digest of the registered file as sha256sum reads it.
QString sha256sum(const QString& path)
{
    QProcess tool;
    tool.start(QStringLiteral("sha256sum"), {path});
    if (!tool.waitForFinished(10000))
        return QString();
    return QString::fromLatin1(tool.readAllStandardOutput()).section(u' ', 0, 0);
}

// A report of the name of the registered one whose bytes differ (another desk's file, made before
// the register row was replaced) is refused; the registered file passes.
TEST_P(ReportDigestTest, OnlyTheFileThatWasRegisteredPasses)
{
    exchangeTrade();
    const ReportOutcome outcome = generate();
    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();

    const QString digest = sha256sum(outcome.filePath);
    ASSERT_EQ(digest.size(), 64);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT DPATVPID || '|' || ZAPST || '|' || SHA256 FROM DPATVPXML")),
              QStringList{QStringLiteral("1|1|") + digest});
    EXPECT_EQ(refusal(outcome.fileName), QString());

    QFile file(outcome.filePath);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes.replace("09:15:30", "09:15:31");
    file.seek(0);
    file.write(bytes);
    file.close();
    EXPECT_EQ(refusal(outcome.fileName),
              QStringLiteral("Poročilo ") + outcome.fileName
                  + QStringLiteral(" je bilo medtem zamenjano z novejšim poročilom na drugi delovni postaji. "
                                   "Poročilo ponovno generiraj!"));

    // A report registered before its digest was kept is taken as it is.
    db.exec(QStringLiteral("DELETE FROM DPATVPXML"));
    EXPECT_EQ(refusal(outcome.fileName), QString());
}

// A digest left by a register row that is gone does not stand in the way of the next report
// registered under that key.
TEST_P(ReportDigestTest, ARegistrationReplacesTheDigestOfItsKey)
{
    db.exec(QStringLiteral("INSERT INTO DPATVPXML (DPATVPID, ZAPST, SHA256) VALUES (1, 1, 'abc')"));
    exchangeTrade();

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT SHA256 FROM DPATVPXML")), QStringList{sha256sum(outcome.filePath)});
    EXPECT_EQ(refusal(outcome.fileName), QString());
}

INSTANTIATE_ENGINE_STORIES(ReportDigestTest);

}  // namespace
