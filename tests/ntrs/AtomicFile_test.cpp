#include "ntrs/AtomicFile.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

class AtomicFileTest : public testing::Test {
public:
    QString path(const char* name) const { return QDir(folder.path()).filePath(QLatin1String(name)); }

    // Everything the folder holds, hidden entries included.
    QStringList entries() const
    {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QByteArray content(const char* name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static mode_t permissionsOf(const QString& file)
    {
        struct stat status;
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
    }

    QTemporaryDir folder;
};

// The message of the ZtfiError an action throws ("EInOutError"), or empty.
std::string inOutError(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ZtfiError& e) {
        return e.className() == QStringLiteral("EInOutError") ? e.message().toStdString() : "other error";
    }
    return std::string();
}

// Writes beyond the process's file size limit fail as on a full disk (the limit is lifted again).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_;
    void (*previousHandler_)(int);
};

TEST_F(AtomicFileTest, NewFileAppearsOnlyWhenPutInPlaceWithTheUmaskPermissions)
{
    AtomicFile file(path("report.xml"));
    ASSERT_TRUE(file.write("<a/>\n", 5));
    file.close();
    EXPECT_EQ(entries(), QStringList{QFileInfo(file.temporaryPath()).fileName()});
    EXPECT_TRUE(QFileInfo(file.temporaryPath()).fileName().startsWith(QStringLiteral("report.xml.")));

    file.putInPlace();

    EXPECT_EQ(entries(), QStringList{QStringLiteral("report.xml")});
    EXPECT_EQ(content("report.xml"), QByteArray("<a/>\n"));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(permissionsOf(path("report.xml")), 0666 & ~mask);
}

// A replaced file keeps its permissions; the file may be put in place under another name of
// its folder.
TEST_F(AtomicFileTest, ReplacedFileKeepsItsPermissions)
{
    writeFileAtomically(path("report.bad"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path("report.bad")).constData(), 0600), 0);

    AtomicFile file(path("report.xml"));
    ASSERT_TRUE(file.write("new", 3));
    file.putInPlace(path("report.bad"));

    EXPECT_EQ(entries(), QStringList{QStringLiteral("report.bad")});
    EXPECT_EQ(content("report.bad"), QByteArray("new"));
    EXPECT_EQ(permissionsOf(path("report.bad")), mode_t(0600));
}

// Whatever fails, the error names the file and its reason, nothing carries the final name and
// no temporary file stays behind.
TEST_F(AtomicFileTest, FailureLeavesNoFile)
{
    const QString target = path("report.xml");
    struct Case {
        const char* what;
        QString file;
        std::function<void()> run;
        QString reason;
        QStringList left;
    };
    const Case cases[] = {
        {"folder missing", path("missing/report.xml"),
         [&] { AtomicFile file(path("missing/report.xml")); },
         QStringLiteral("No such file or directory"), {}},
        {"disk full", target,
         [&] {
             AtomicFile file(target);
             {
                 FileSizeLimit limit(16);
                 EXPECT_FALSE(file.write("0123456789abcdef0123456789abcdef", 32));
                 EXPECT_FALSE(file.write("more", 4));
             }
             file.putInPlace();
         },
         QStringLiteral("File too large"), {}},
        {"directory under the final name", target,
         [&] {
             QDir(folder.path()).mkdir(QStringLiteral("report.xml"));
             AtomicFile file(target);
             EXPECT_TRUE(file.write("<a/>", 4));
             file.putInPlace();
         },
         QStringLiteral("Is a directory"), {QStringLiteral("report.xml")}},
        {"fault found by the writer", target,
         [&] {
             AtomicFile file(target);
             file.fail(QStringLiteral("encoding"));
             file.putInPlace();
         },
         QStringLiteral("encoding"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(inOutError(c.run),
                  (QStringLiteral("Napaka pri pisanju datoteke ") + c.file + QStringLiteral(": ") + c.reason).toStdString());
        EXPECT_EQ(entries(), c.left);
        QDir(folder.path()).rmdir(QStringLiteral("report.xml"));
    }
}

TEST_F(AtomicFileTest, FileDroppedBeforeItIsPutInPlaceIsRemoved)
{
    {
        AtomicFile file(path("report.xml"));
        ASSERT_TRUE(file.write("<a/>", 4));
        file.close();
    }
    EXPECT_EQ(entries(), QStringList());
}

}  // namespace
