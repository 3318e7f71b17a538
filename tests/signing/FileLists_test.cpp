#include "signing/FileDelivery.h"
#include "signing/FileLists.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(LoadFilesByMask, ListsTheMatchingFilesWithoutRegardToCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"b.xml", "A.XML", "c.Xml", "d.xml.bak", "e.sig", "f.xmlx"})
        writeAll(dir.filePath(QLatin1String(name)), "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.xml")));

    EXPECT_EQ(FileLists::LoadFilesByMask(dir.path() + QLatin1Char('/'), QStringLiteral("*.xml")),
              (QStringList{QStringLiteral("A.XML"), QStringLiteral("b.xml"), QStringLiteral("c.Xml")}));
    EXPECT_EQ(FileLists::LoadFilesByMask(dir.path(), QStringLiteral("*.SIG")), QStringList{QStringLiteral("e.sig")});
    EXPECT_EQ(FileLists::LoadFilesByMask(dir.filePath(QStringLiteral("missing")), QStringLiteral("*.xml")),
              QStringList());
    EXPECT_EQ(FileLists::LoadFilesByMask(QString(), QStringLiteral("*.xml")), QStringList());
}

TEST(FileDelivery, SameFolderIgnoresSpellingAndLinks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("a")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("link"))));
    const QString a = dir.filePath(QStringLiteral("a"));
    EXPECT_TRUE(FileDelivery::sameFolder(a, a + QStringLiteral("/")));
    EXPECT_TRUE(FileDelivery::sameFolder(a + QStringLiteral("\\"), dir.path() + QStringLiteral("/./a")));
    EXPECT_TRUE(FileDelivery::sameFolder(dir.filePath(QStringLiteral("link/")), a));
    EXPECT_FALSE(FileDelivery::sameFolder(a, dir.path()));
    EXPECT_FALSE(FileDelivery::sameFolder(a + QStringLiteral("/missing"), a));
}

}  // namespace
