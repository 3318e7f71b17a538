#include "signing/FileCopy.h"
#include "support/FaultyCopyWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

using Fault = FaultyCopyWriter::Fault;

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FileCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        writeAll(source(), kContent);
        writeAll(target(), "old content that was longer than the new one");
    }

    QString source() const { return dir_.filePath(QStringLiteral("new")); }
    QString target() const { return dir_.filePath(QStringLiteral("target")); }
    // Every name in the folder, hidden ones too.
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    const QByteArray kContent = "new content of several short writes";
    QTemporaryDir dir_;
};

// A writer may take fewer bytes than it is given; the copy goes on until every byte is written.
TEST_F(FileCopyTest, ACopyReplacesTheTargetWholeAndLeavesNothingElse)
{
    QString error;
    EXPECT_TRUE(FileCopy::copy(source(), target(), error, FaultyCopyWriter::factory(Fault::ShortWrites)))
        << error.toStdString();
    EXPECT_EQ(readAll(target()), kContent);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("new"), QStringLiteral("target")}));
}

TEST_F(FileCopyTest, AFailedCopyLeavesTheTargetAsItWasAndNoTemporaryFile)
{
    struct Case {
        const char* name;
        QString from;
        CopyWriterFactory writers;
        QString error;
    };
    const QString noSpace = qt_error_string(ENOSPC);
    const Case cases[] = {
        {"short writes, then the disk is full", source(), FaultyCopyWriter::factory(Fault::ShortWritesThenFull), noSpace},
        {"the disk is full when the copy is synced", source(), FaultyCopyWriter::factory(Fault::FullWhenSynced), noSpace},
        {"bytes lost on the way", source(), FaultyCopyWriter::factory(Fault::LosesBytes),
         QStringLiteral("the copy holds 7 of %1 bytes").arg(kContent.size())},
        {"no source", dir_.filePath(QStringLiteral("missing")), {}, QString()},
    };
    const QByteArray old = readAll(target());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(FileCopy::copy(c.from, target(), error, c.writers));
        if (!c.error.isEmpty()) {
            EXPECT_EQ(error, c.error);
        }
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(readAll(target()), old);
        EXPECT_EQ(files(), (QStringList{QStringLiteral("new"), QStringLiteral("target")}));
    }
}

}  // namespace
