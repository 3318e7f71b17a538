#include "core/Error.h"
#include "core/IniFile.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>

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

mode_t permissionBits(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_mode & 0777;
}

TEST(IniFileRead, DetectsEncodingAndComparesNamesWithoutCase)
{
    const IniFile cp1250 = IniFile::fromBytes("[SPLO\x8ANO]\r\nkey = a\xE8 \r\n");
    EXPECT_EQ(cp1250.encoding(), IniFile::Encoding::Windows1250);
    EXPECT_EQ(cp1250.value(QStringLiteral("splošno"), QStringLiteral("KEY")), QStringLiteral("ač"));
    // A last byte that could start a UTF-8 sequence does not make the file UTF-8.
    const IniFile cp1250End = IniFile::fromBytes("[A]\nx=a\xE8");
    EXPECT_EQ(cp1250End.encoding(), IniFile::Encoding::Windows1250);
    EXPECT_EQ(cp1250End.value(QStringLiteral("a"), QStringLiteral("x")), QStringLiteral("ač"));

    const IniFile utf8 = IniFile::fromBytes("; komentar\nx=zunaj\n[A]\nx=1\n[b]\n[a]\nx=2\ny=3\n");
    EXPECT_EQ(utf8.encoding(), IniFile::Encoding::Utf8);
    EXPECT_EQ(utf8.value(QStringLiteral("A"), QStringLiteral("x")), QStringLiteral("1"));
    EXPECT_EQ(utf8.value(QStringLiteral("A"), QStringLiteral("y")), QStringLiteral("3"));
    EXPECT_FALSE(utf8.contains(QStringLiteral("b"), QStringLiteral("x")));
    EXPECT_EQ(utf8.value(QStringLiteral("b"), QStringLiteral("x"), QStringLiteral("privzeto")),
              QStringLiteral("privzeto"));
}

// ---- writing one value -------------------------------------------------------------------

struct WriteCase {
    const char* name;
    std::optional<QByteArray> before;  // nullopt: no file yet
    QString section;
    QString key;
    QString value;
    QByteArray after;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class IniFileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniFileWrite, ChangesOnlyTheOneLineAndKeepsTheEncoding)
{
    const WriteCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZTFI.ini"));
    if (c.before) {
        writeAll(path, *c.before);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    IniFile::writeValue(path, c.section, c.key, c.value);

    EXPECT_EQ(readAll(path), c.after);
    EXPECT_EQ(permissionBits(path), mode_t(0600));
    EXPECT_EQ(IniFile::read(path).value(c.section, c.key), c.value);
}

const QByteArray kWindows1250File("; ZTFI\r\n"
                                  "[Splo\x9Ano]\r\n"
                                  "ATVP_Uporabnik=Ra\xE8un\r\n"
                                  "\r\n"
                                  "[GnuPG]\r\n"
                                  "Path = gnupg\r\n"
                                  "User=stari\r\n"
                                  "\r\n"
                                  "[Trzisce]\r\n"
                                  "DMC_2=KL // komentar\r\n");

QByteArray replaced(QByteArray bytes, const QByteArray& from, const QByteArray& to)
{
    return bytes.replace(from, to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFileWrite,
    ::testing::Values(
        WriteCase{"ExistingKeyWindows1250", kWindows1250File, "gnupg", "USER", QStringLiteral("Žan"),
                  replaced(kWindows1250File, "User=stari\r\n", "User=\x8E" "an\r\n")},
        WriteCase{"NewKeyAfterTheSectionsLastKey", kWindows1250File, "GnuPG", "PassPhrase", "4A6B",
                  replaced(kWindows1250File, "User=stari\r\n", "User=stari\r\nPassPhrase=4A6B\r\n")},
        WriteCase{"NewKeyInSectionWithSpecialLetter", kWindows1250File, QStringLiteral("Splošno"), "Tip", "DB2",
                  replaced(kWindows1250File, "Ra\xE8un\r\n", "Ra\xE8un\r\nTip=DB2\r\n")},
        WriteCase{"EmptyValue", QByteArray("[GnuPG]\nUser=ana\nPassPhrase=41\n"), "GnuPG", "PassPhrase", "",
                  QByteArray("[GnuPG]\nUser=ana\nPassPhrase=\n")},
        WriteCase{"NewSectionAfterUnterminatedLastLine", QByteArray("[Splošno]\nTip=DB2"), "GnuPG", "User", "ana",
                  QByteArray("[Splošno]\nTip=DB2\n[GnuPG]\nUser=ana\n")},
        WriteCase{"Utf8WithByteOrderMark", QByteArray("\xEF\xBB\xBF[GnuPG]\nUser=x\n"), "GnuPG", "User",
                  QStringLiteral("Žan"), QByteArray("\xEF\xBB\xBF[GnuPG]\nUser=") + QStringLiteral("Žan\n").toUtf8()},
        WriteCase{"MissingFileIsCreated", std::nullopt, "GnuPG", "User", "ana", QByteArray("[GnuPG]\nUser=ana\n")}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    QString value;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class IniFileWriteRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(IniFileWriteRefused, LeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZTFI.ini"));
    writeAll(path, kWindows1250File);

    EXPECT_THROW(IniFile::writeValue(path, QStringLiteral("GnuPG"), QStringLiteral("User"), GetParam().value),
                 ZtfiError);
    EXPECT_EQ(readAll(path), kWindows1250File);
}

INSTANTIATE_TEST_SUITE_P(Values, IniFileWriteRefused,
                         ::testing::Values(RefusedCase{"NotInCodePage", QStringLiteral("ana \u65E5")},
                                           RefusedCase{"LineBreak", QStringLiteral("ana\n[X]")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileWriteRefused, UnreadableFileIsNotReplaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZTFI.ini"));
    writeAll(path, kWindows1250File);
    QFile::setPermissions(path, QFile::WriteOwner);
    if (QFile(path).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";

    EXPECT_THROW(IniFile::writeValue(path, QStringLiteral("GnuPG"), QStringLiteral("User"), QStringLiteral("ana")),
                 ZtfiError);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readAll(path), kWindows1250File);
}

}  // namespace
