#include "core/AtomicFile.h"

#include "core/AtomicFileStream.h"
#include "core/Error.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A full disk: the error names the disk's reason, the file of the name keeps every byte.
TEST_F(AtomicFileTest, AFullDiskLeavesTheOldFileWhole)
{
    SmallDisk disk(64);
    if (!disk.available())
        GTEST_SKIP() << "a small disk needs the superuser";
    const QString target = disk.filePath(QStringLiteral("list.txt"));
    const QByteArray old(20000, 'o');
    writeFileAtomically(target, old);

    EXPECT_EQ(inOutError([&] { writeFileAtomically(target, QByteArray(100000, 'n')); }),
              (QStringLiteral("Napaka pri pisanju datoteke ") + target + QStringLiteral(": ") + qt_error_string(ENOSPC))
                  .toStdString());

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("list.txt")});
}

// A link under the final name is replaced, never written through; a link named like a
// temporary file is neither followed nor removed.
TEST_F(AtomicFileTest, PlantedLinksRedirectNoWrite)
{
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    writeFileAtomically(victim, "victim");
    ASSERT_EQ(::chmod(QFile::encodeName(victim).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(victim, path("list.txt")));
    ASSERT_TRUE(QFile::link(victim, path("list.txt.AbCd12.part")));

    writeFileAtomically(path("list.txt"), "list");

    EXPECT_EQ(content("list.txt"), QByteArray("list"));
    EXPECT_FALSE(QFileInfo(path("list.txt")).isSymLink());
    EXPECT_TRUE(QFileInfo(path("list.txt.AbCd12.part")).isSymLink());
    QFile original(victim);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), QByteArray("victim"));
    EXPECT_EQ(permissionsOf(victim), mode_t(0600));
}

// The superuser replacing another user's file leaves it that user's, with its permissions.
TEST_F(AtomicFileTest, AReplacedFileKeepsItsOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file away needs the superuser";
    writeFileAtomically(path("list.txt"), "old");
    const QByteArray name = QFile::encodeName(path("list.txt"));
    ASSERT_EQ(::chown(name.constData(), 4321, 4322), 0);
    ASSERT_EQ(::chmod(name.constData(), 0640), 0);

    writeFileAtomically(path("list.txt"), "new");

    struct stat status;
    ASSERT_EQ(::stat(name.constData(), &status), 0);
    EXPECT_EQ(status.st_uid, uid_t(4321));
    EXPECT_EQ(status.st_gid, gid_t(4322));
    EXPECT_EQ(status.st_mode & 07777, mode_t(0640));
    EXPECT_EQ(content("list.txt"), QByteArray("new"));
}

// What a killed writer left is removed by the next writer of the same name; a file being
// written, files of other names, a user's file with a suffix and a FIFO stay.
TEST_F(AtomicFileTest, TheNextWriterRemovesWhatAKilledOneLeft)
{
    for (const char* name : {"list.txt.k1LLed.part", "list.txt.k1LL.part", "list.txt.backup", "other.txt.k1LLed.part"})
        writeFileAtomically(path(name), "left");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("list.txt.f1f0ff.part")).constData(), 0600), 0);
    AtomicFile beingWritten(path("list.txt"));

    writeFileAtomically(path("list.txt"), "list");

    QStringList expected{QStringLiteral("list.txt"), QStringLiteral("list.txt.k1LL.part"),
                         QStringLiteral("list.txt.backup"), QStringLiteral("other.txt.k1LLed.part"),
                         QStringLiteral("list.txt.f1f0ff.part"), QFileInfo(beingWritten.temporaryPath()).fileName()};
    expected.sort();
    QStringList left = entries();
    left.sort();
    EXPECT_EQ(left, expected);
}

// A delivery that is taken back restores the file it replaced, or leaves no file.
TEST_F(AtomicFileTest, AWithdrawnFileGivesTheNameBack)
{
    for (const bool earlier : {true, false}) {
        SCOPED_TRACE(earlier);
        if (earlier)
            writeFileAtomically(path("report.xml"), "earlier");
        {
            AtomicFile file(path("report.xml"));
            ASSERT_TRUE(file.write("new", 3));
            file.putInPlace(AtomicFile::Replaced::Kept);
            EXPECT_EQ(content("report.xml"), QByteArray("new"));
            EXPECT_TRUE(file.withdraw());
        }
        EXPECT_EQ(entries(), earlier ? QStringList{QStringLiteral("report.xml")} : QStringList());
        EXPECT_EQ(content("report.xml"), earlier ? QByteArray("earlier") : QByteArray());
        QFile::remove(path("report.xml"));
    }
    // Kept, then not withdrawn: the new file stays alone.
    writeFileAtomically(path("report.xml"), "earlier");
    {
        AtomicFile file(path("report.xml"));
        ASSERT_TRUE(file.write("new", 3));
        file.putInPlace(AtomicFile::Replaced::Kept);
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral("report.xml")});
    EXPECT_EQ(content("report.xml"), QByteArray("new"));
}

// Libraries that go back to fill in a header write through a stream onto the file.
TEST_F(AtomicFileTest, AStreamWritesAndGoesBack)
{
    AtomicFile file(path("table.db"));
    FILE* stream = openAtomicFileStream(file);
    ASSERT_NE(stream, nullptr);
    std::fputs("0000 records", stream);
    std::fseek(stream, 0, SEEK_SET);
    std::fputs("0012", stream);
    std::fseek(stream, 0, SEEK_END);
    std::fputs("!", stream);
    char head[5] = {};
    std::fseek(stream, 0, SEEK_SET);
    ASSERT_EQ(std::fread(head, 1, 4, stream), 4u);
    EXPECT_STREQ(head, "0012");
    EXPECT_EQ(std::fclose(stream), 0);
    file.putInPlace();
    EXPECT_EQ(content("table.db"), QByteArray("0012 records!"));
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
