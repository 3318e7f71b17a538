#include "core/Error.h"
#include "core/Windows1250.h"
#include "data/dataset/Queries.h"
#include "listing/ListFile.h"
#include "listing/ListReport.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "support/SmallDisk.h"

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

// Runs a Debian tool and returns its standard output.
QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A query of n rows: the row number, a text with Slovenian letters, a price, a date (NULL on
// every tenth row), and the row-number column "#".
class ListFileTest : public ::testing::Test {
protected:
    void open(int rows)
    {
        query.setSql(QStringLiteral(
            "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < %1) "
            "SELECT n AS ID, 'Čžš vrstica ' || n AS NAZIV, n * 1.5 AS CENA, "
            "CASE WHEN n % 10 = 0 THEN NULL ELSE 46000 + n END AS DATUM, 0 AS \"#\" FROM r").arg(rows));
        declare("#", FieldType::Integer, 0, 4, QStringLiteral("Št."));
        declare("ID", FieldType::Integer, 0, 6, QStringLiteral("Id"));
        declare("NAZIV", FieldType::String, 30, 0, QStringLiteral("Naziv vrstice"));
        declare("CENA", FieldType::Float, 0, 12, QStringLiteral("Cena"));
        declare("DATUM", FieldType::Date, 0, 10, QStringLiteral("Datum"));
        query.open();
    }
    void declare(const char* name, FieldType type, int size, int width, const QString& label)
    {
        FieldDef d;
        d.name = QString::fromUtf8(name);
        d.type = type;
        d.size = size;
        d.displayWidth = width;
        d.displayLabel = label;
        query.addField(d);
    }
    QString file(const QString& name) const { return folder.filePath(name); }

    FixtureDb db;
    TFQuery query{db.connection(), QStringLiteral("qList")};
    QTemporaryDir folder;
};

TEST_F(ListFileTest, ReportOfThreePagesWithHeadersAndContinuation)
{
    open(150);
    ListFile::write(query, QStringLiteral("Seznam vrstic"), file(QStringLiteral("list.pdf")), ListFile::defaultFont());
    ASSERT_TRUE(QFile::exists(file(QStringLiteral("list.pdf"))));

    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {file(QStringLiteral("list.pdf"))}).contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))));
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file(QStringLiteral("list.pdf")), QStringLiteral("-")});
    const QStringList pages = text.split(u'\f');
    ASSERT_GE(pages.size(), 3);
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const QString& p = pages[page - 1];
        EXPECT_TRUE(p.contains(QRegularExpression(QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d, Stran %1").arg(page))));
        EXPECT_TRUE(p.contains(QStringLiteral("Seznam vrstic")));
        EXPECT_TRUE(p.contains(QStringLiteral("Naziv vrstice")));
        // "> > >" closes every page but the last and opens every page but the first (the text
        // reader drops the blanks).
        EXPECT_EQ(p.count(QRegularExpression(QStringLiteral(">\\s*>\\s*>"))), page == 2 ? 2 : 1);
    }
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Čžš vrstica 1 ")));
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Čžš vrstica 150")));
    EXPECT_TRUE(pages[2].contains(QRegularExpression(QStringLiteral("\\b150\\s+150\\s*Čžš vrstica 150")))) << "row number of \"#\"";
    EXPECT_TRUE(pages[2].contains(QStringLiteral("225"))) << "the price of row 150";

    QDir().mkpath(file(QStringLiteral("png")));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"), file(QStringLiteral("list.pdf")), file(QStringLiteral("png/p"))});
    EXPECT_EQ(QDir(file(QStringLiteral("png"))).entryList(QDir::Files).size(), 3);
}

TEST_F(ListFileTest, PageRangeDrawsOnlyItsPages)
{
    open(150);
    QPdfWriter pdf(file(QStringLiteral("range.pdf")));
    pdf.setResolution(600);
    ListReport report(query, QStringLiteral("Seznam"), ListFile::defaultFont());
    report.setPageRange(2, 2);
    EXPECT_TRUE(report.print(pdf));
    EXPECT_EQ(report.pageCount(), 2);
    const QString text = run(QStringLiteral("pdftotext"), {file(QStringLiteral("range.pdf")), QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Stran 2")));
    EXPECT_FALSE(text.contains(QStringLiteral("Stran 1")));
    EXPECT_FALSE(text.contains(QStringLiteral("Stran 3")));
}

TEST_F(ListFileTest, CancelStopsAtTheNextRecord)
{
    open(150);
    QPdfWriter pdf(file(QStringLiteral("cancel.pdf")));
    ListReport report(query, QString(), ListFile::defaultFont());
    int calls = 0;
    report.setProgress([&calls](int done, int total) {
        ++calls;
        EXPECT_EQ(total, 150);
        return done < 5;
    });
    EXPECT_FALSE(report.print(pdf));
    EXPECT_EQ(calls, 5);
}

TEST_F(ListFileTest, DbaseReadBackByPythonDbf)
{
    open(12);
    ListFile::write(query, QString(), file(QStringLiteral("list.dbf")), ListFile::defaultFont());
    const QString out = run(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(
        "import sys, dbf\n"
        "t = dbf.Table(sys.argv[1]); t.open()\n"
        "print(t.codepage.name if hasattr(t.codepage, 'name') else t.codepage)\n"
        "print(','.join(t.field_names))\n"
        "for r in t: print('|'.join(str(v).strip() if v is not None else 'NULL' for v in r))\n"),
        file(QStringLiteral("list.dbf"))});
    const QStringList lines = out.trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 2 + 12) << out.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("1250"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("#,id,naziv,cena,datum").remove(u'#').prepend(QStringLiteral("f")))
        << "a name without letters becomes F";
    EXPECT_EQ(lines[2], QStringLiteral("0|1|Čžš vrstica 1|1.5|2025-12-10"));
    EXPECT_EQ(lines[11], QStringLiteral("0|10|Čžš vrstica 10|15.0|NULL"));
}

// The embedded engine keeps a 12-digit reference number in an integer column; the dBase column
// must hold it whole.
TEST_F(ListFileTest, DbaseKeepsWholeNumbersBeyondNineDigits)
{
    query.setSql(QStringLiteral("SELECT 900000610091 AS REF UNION ALL SELECT -2147483649"));
    declare("REF", FieldType::Integer, 0, 12, QStringLiteral("Ref."));
    query.open();
    ListFile::write(query, QString(), file(QStringLiteral("ref.dbf")), ListFile::defaultFont());
    const QString out = run(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(
        "import sys, dbf\n"
        "t = dbf.Table(sys.argv[1]); t.open()\n"
        "print(' '.join(str(r[0]) for r in t))\n"),
        file(QStringLiteral("ref.dbf"))});
    EXPECT_EQ(out.trimmed(), QStringLiteral("900000610091 -2147483649"));
}

TEST_F(ListFileTest, TextLinesOfFixedLengthAndRefusals)
{
    open(3);
    ListFile::write(query, QString(), file(QStringLiteral("list.TXT")), ListFile::defaultFont());
    QFile text(file(QStringLiteral("list.TXT")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QStringList lines = Windows1250::decode(text.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("   0     1") + QStringLiteral("Čžš vrstica 1").leftJustified(30) +
                            QStringLiteral("1,5").rightJustified(12) + QStringLiteral("10.12.2025"));
    EXPECT_EQ(lines[0].size(), lines[2].size());

    const struct {
        const char* name;
        const char* message;
    } refusals[] = {
        {"list.xls", "Neznana vrsta datoteke"},
        {"none/list.pdf", "ne obstaja"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.name);
        try {
            ListFile::write(query, QString(), file(QLatin1String(r.name)), ListFile::defaultFont());
            ADD_FAILURE() << "no error";
        } catch (const ZtfiError& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(r.message))) << e.message().toStdString();
        }
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("list.TXT")});
}

// Lines of one byte length whatever letters the texts hold (Windows-1250, one byte each), a
// value's line break or tab a blank, a letter outside the code page "?"; a time column as a time
// in the text and in dBase.
TEST_F(ListFileTest, TextBytesAndTimesOfEveryRow)
{
    query.setSql(QStringLiteral(
        "SELECT 'abc' AS NAZIV, 0.39152777777 AS URA UNION ALL SELECT 'ČŠŽčšž', 0.5 "
        "UNION ALL SELECT 'a' || char(13) || char(10) || 'b' || char(9) || 'c', NULL UNION ALL SELECT 'Ωmega', 0"));
    declare("NAZIV", FieldType::String, 8, 0, QStringLiteral("Naziv"));
    declare("URA", FieldType::Time, 0, 8, QStringLiteral("Ura"));
    query.open();
    ListFile::write(query, QString(), file(QStringLiteral("times.txt")), ListFile::defaultFont());
    QFile text(file(QStringLiteral("times.txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QByteArray bytes = text.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 4);
    QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.takeLast(), QByteArray());
    ASSERT_EQ(lines.size(), 4);
    for (const QByteArray& line : lines)
        EXPECT_EQ(line.size(), 8 + 8 + 1) << line.toStdString();
    EXPECT_EQ(Windows1250::decode(bytes),
              QStringLiteral("abc     09:23:48\r\nČŠŽčšž  12:00:00\r\n") + QStringLiteral("a  b c").leftJustified(16) +
                  QStringLiteral("\r\n?mega   00:00:00\r\n"));

    ListFile::write(query, QString(), file(QStringLiteral("times.dbf")), ListFile::defaultFont());
    const QString out = run(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(
        "import sys, dbf\n"
        "t = dbf.Table(sys.argv[1]); t.open()\n"
        "print('|'.join(str(r[1]).strip() if r[1] is not None else 'NULL' for r in t))\n"),
        file(QStringLiteral("times.dbf"))});
    EXPECT_EQ(out.trimmed(), QStringLiteral("09:23:48|12:00:00||00:00:00"));
}

// A list larger than the disk's room: every format fails with the disk's reason and leaves the
// list of the name byte for byte as it was, and nothing else.
TEST_F(ListFileTest, AFullDiskKeepsTheOldListOfEveryFormat)
{
    SmallDisk disk(64);
    if (!disk.available())
        GTEST_SKIP() << "a small disk needs the superuser";
    open(3000);
    const QByteArray old = "the list of yesterday";
    for (const char* name : {"list.pdf", "list.dbf", "list.db", "list.txt"}) {
        SCOPED_TRACE(name);
        const QString target = disk.filePath(QLatin1String(name));
        {
            QFile previous(target);
            ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
            previous.write(old);
        }
        try {
            ListFile::write(query, QStringLiteral("Seznam"), target, ListFile::defaultFont());
            ADD_FAILURE() << "no error";
        } catch (const ZtfiError& e) {
            EXPECT_TRUE(e.message().endsWith(qt_error_string(ENOSPC))) << e.message().toStdString();
        }
        QFile kept(target);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), old);
        EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QLatin1String(name)});
        QFile::remove(target);
    }
}

}  // namespace
