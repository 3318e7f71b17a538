#include "exchange/Workbook.h"
#include "exchange/WorkbookError.h"
#include "exchange/WorkbookWriter.h"

#include "support/WorkbookDump.h"
#include "support/XlsxFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class WorkbookTest : public testing::TestWithParam<const char*> {
public:
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QString file() const { return path(QStringLiteral("book") + QLatin1String(GetParam())); }

    // The message of the error an action throws, or empty.
    template <typename Action>
    static QString errorOf(Action action)
    {
        try {
            action();
        } catch (const ZtfiError& e) {
            return e.message();
        }
        return QString();
    }

    QTemporaryDir folder;
};

// Texts long and many enough that the shared string table goes on in CONTINUE records, one of
// them split inside its characters. (FreeXL cannot read a text that a table spreads over three
// records, a cell of more than 8,200 characters: that is not tried here.)
QStringList longTexts()
{
    QStringList texts;
    texts.append(QString(5000, QChar(u'č')));
    for (int i = 0; i < 400; ++i)
        texts.append(QStringLiteral("Vrstica %1 – šifra ŽŠČ").arg(i, 4, 10, QLatin1Char('0')));
    return texts;
}

TEST_P(WorkbookTest, WritesWhatAnIndependentReaderAndOurReaderReadBack)
{
    const QStringList texts = longTexts();
    CellBlock values(3 + int(texts.size()), 4);
    values.at(1, 1) = Cell::text(QStringLiteral("Čas transakcije"));
    values.at(1, 2) = Cell::text(QStringLiteral("+02"));
    values.at(1, 4) = Cell::number(123456789012.0);
    values.at(2, 1) = Cell::date(QDate(2024, 3, 5));
    values.at(2, 2) = Cell::serial(Cell::Kind::Time, 0.65636574074074077);  // 15:45:10
    values.at(2, 3) = Cell::dateTime(QDateTime(QDate(2024, 3, 5), QTime(9, 30, 15)));
    values.at(2, 4) = Cell::number(-1234.5);
    for (int i = 0; i < texts.size(); ++i)
        values.at(4 + i, 1) = Cell::text(texts[i]);
    writeWorkbook(file(), {{QStringLiteral("ZTFI Export"), values}, {QStringLiteral("Drugi"), CellBlock(1, 1)}});

    const std::vector<DumpedSheet> dumped = dumpWithXlrd(file());
    ASSERT_EQ(dumped.size(), 2u);
    EXPECT_EQ(dumped[0].name, QStringLiteral("ZTFI Export"));
    EXPECT_EQ(dumped[1].name, QStringLiteral("Drugi"));
    ASSERT_EQ(dumped[0].rows.size(), values.rows());
    EXPECT_EQ(dumped[0].rows[0], (QStringList{QStringLiteral("text:Čas transakcije"), QStringLiteral("text:+02"),
                                              QStringLiteral("empty:"), QStringLiteral("number:123456789012.0")}));
    EXPECT_EQ(dumped[0].rows[1], (QStringList{QStringLiteral("date:2024-03-05 00:00:00"), QStringLiteral("date:0000-00-00 15:45:10"),
                                              QStringLiteral("date:2024-03-05 09:30:15"), QStringLiteral("number:-1234.5")}));
    for (int i = 0; i < texts.size(); ++i)
        ASSERT_EQ(dumped[0].rows[3 + i].value(0), QStringLiteral("text:") + texts[i]) << "row " << 4 + i;

    const Workbook book = Workbook::open(file());
    ASSERT_EQ(book.sheetCount(), 2);
    const WorkbookSheet& sheet = book.sheet(1);
    EXPECT_EQ(sheet.name(), QStringLiteral("ZTFI Export"));
    EXPECT_EQ(sheet.usedRows(), values.rows());
    EXPECT_EQ(sheet.usedColumns(), 4);
    const CellBlock read = sheet.range(sheet.usedRows(), 5);
    for (int r = 1; r <= values.rows(); ++r)
        for (int c = 1; c <= 4; ++c)
            ASSERT_EQ(read.at(r, c).toText(), values.at(r, c).toText()) << "cell " << r << ", " << c;
    EXPECT_EQ(read.at(2, 1).kind(), Cell::Kind::Date);
    EXPECT_EQ(read.at(2, 2).kind(), Cell::Kind::Time);
    EXPECT_EQ(read.at(2, 3).kind(), Cell::Kind::DateTime);
    EXPECT_EQ(read.at(2, 2).toText(), QStringLiteral("15:45:10"));
    EXPECT_EQ(read.at(1, 4).toText(), QStringLiteral("123456789012"));
    EXPECT_EQ(read.at(2, 4).toText(), QStringLiteral("-1234,5"));
    EXPECT_TRUE(read.at(1, 5).isEmpty());
    EXPECT_TRUE(sheet.cell(values.rows() + 1, 1).isEmpty());
    EXPECT_EQ(book.sheet(2).usedRows(), 0);
    EXPECT_NE(errorOf([&] { book.sheet(3); }), QString());
}

TEST_P(WorkbookTest, LimitsOfTheFormatAreRefusedBeforeAnythingIsWritten)
{
    const bool xlsx = QLatin1String(GetParam()) == QLatin1String(".xlsx");
    QFile earlier(file());
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    const QString prefix = QStringLiteral("Napaka pri pisanju datoteke ") + file() + QStringLiteral(": ");

    CellBlock tooLong(1, 1);
    tooLong.at(1, 1) = Cell::text(QString(32768, QLatin1Char('x')));
    const int rows = xlsx ? 1048577 : 65537;
    const std::vector<std::pair<std::vector<SheetContent>, QString>> cases = {
        {{{QStringLiteral("ZTFI Export"), CellBlock(rows, 1)}},
         xlsx ? QStringLiteral("list \"ZTFI Export\" ima 1048577 vrstic, datoteka .xlsx jih sprejme največ 1048576")
              : QStringLiteral("list \"ZTFI Export\" ima 65537 vrstic, datoteka .xls jih sprejme največ 65536 (shranite jo kot .xlsx)")},
        {{{QStringLiteral("A"), CellBlock(1, xlsx ? 16385 : 257)}},
         xlsx ? QStringLiteral("list \"A\" ima 16385 stolpcev, datoteka .xlsx jih sprejme največ 16384")
              : QStringLiteral("list \"A\" ima 257 stolpcev, datoteka .xls jih sprejme največ 256")},
        {{{QStringLiteral("A"), tooLong}}, QStringLiteral("besedilo v vrstici 1, stolpcu 1 lista \"A\" je daljše od 32767 znakov")},
        {{{QStringLiteral("A/B"), CellBlock()}},
         QStringLiteral("ime lista \"A/B\" ni dovoljeno (1 do 31 znakov, brez [ ] : * ? / \\)")},
        {{{QString(32, QLatin1Char('a')), CellBlock()}},
         QStringLiteral("ime lista \"%1\" ni dovoljeno (1 do 31 znakov, brez [ ] : * ? / \\)").arg(QString(32, QLatin1Char('a')))},
        {{{QStringLiteral("A"), CellBlock()}, {QStringLiteral("a"), CellBlock()}}, QStringLiteral("ime lista \"a\" se ponovi")},
    };
    for (const auto& [sheets, reason] : cases) {
        EXPECT_EQ(errorOf([&] { writeWorkbook(file(), sheets); }), prefix + reason);
        ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
        EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
        earlier.close();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(file()).fileName()});
    }
}

TEST_P(WorkbookTest, UnreadableFilesGiveTheFileAndTheReason)
{
    CellBlock values(200, 5);
    for (int r = 1; r <= 200; ++r)
        for (int c = 1; c <= 5; ++c)
            values.at(r, c) = Cell::text(QStringLiteral("vrednost %1/%2").arg(r).arg(c));
    writeWorkbook(file(), {{QStringLiteral("List"), values}});
    QFile whole(file());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    whole.close();

    auto write = [&](const QString& name, const QByteArray& content) {
        QFile out(path(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
        return path(name);
    };
    const QString damaged = QStringLiteral("datoteka je poškodovana ali nepopolna");
    const QString notWorkbook = QStringLiteral("datoteka ni Excelov delovni zvezek (.xls ali .xlsx)");
    const std::vector<std::pair<QString, QString>> cases = {
        {write(QStringLiteral("half") + QLatin1String(GetParam()), bytes.left(bytes.size() / 2)), damaged},
        {write(QStringLiteral("text.xls"), "Datum;Cas\n05.03.2024;10:00\n"), notWorkbook},
        {write(QStringLiteral("empty.xlsx"), QByteArray()), notWorkbook},
        {path(QStringLiteral("missing.xls")), QStringLiteral("datoteka ne obstaja")},
    };
    for (const auto& [name, reason] : cases) {
        const QString message = errorOf([&] { Workbook::open(name); });
        EXPECT_TRUE(message.startsWith(QStringLiteral("Napaka pri branju datoteke ") + name + QStringLiteral(": ") + reason))
            << message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, WorkbookTest, testing::Values(".xls", ".xlsx"));

// Shared strings with runs and a phonetic part, inline strings, formula results, booleans,
// errors, cells without references, built-in and own date formats, the 1904 date system.
TEST(XlsxFromAnotherProgram, CellsOfEveryKindAreRead)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("other.xlsx"));
    XlsxFixture::writeWorkbook(
        file,
        {{QStringLiteral("Posli"),
          "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v></c></row>"
          "<row r=\"3\"><c t=\"inlineStr\"><is><t xml:space=\"preserve\"> +01 </t></is></c><c t=\"str\"><f>A1</f><v>Cena</v></c>"
          "<c t=\"b\"><v>1</v></c><c t=\"e\"><f>1/0</f><v>#DIV/0!</v></c></row>"
          "<row r=\"4\"><c r=\"A4\" s=\"1\"><v>0</v></c><c r=\"B4\" s=\"2\"><v>0.5</v></c><c r=\"C4\" s=\"3\"><v>1.25</v></c>"
          "<c r=\"D4\" s=\"4\"><v>1234.5</v></c><c r=\"E4\"><v>1E-3</v></c></row>"},
         {QStringLiteral("Prazen"), QByteArray()}},
        "<si><r><t>Datum </t></r><r><t>transakcije</t></r><rPh><t>x</t></rPh></si><si><t>Valuta</t></si>",
        "<numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy;@\"/><numFmt numFmtId=\"165\" formatCode=\"[h]:mm:ss\"/>"
        "<numFmt numFmtId=\"166\" formatCode=\"#,##0.00 &quot;dni&quot;\"/></numFmts>"
        "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs>"
        "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/><xf numFmtId=\"22\"/><xf numFmtId=\"166\"/></cellXfs>",
        "<workbookPr date1904=\"1\"/>");

    const Workbook book = Workbook::open(file);
    ASSERT_EQ(book.sheetCount(), 2);
    const WorkbookSheet& sheet = book.sheet(1);
    EXPECT_EQ(sheet.name(), QStringLiteral("Posli"));
    EXPECT_EQ(sheet.usedRows(), 4);
    EXPECT_EQ(sheet.usedColumns(), 5);
    const QStringList texts = {sheet.cell(1, 1).toText(), sheet.cell(1, 3).toText(), sheet.cell(3, 1).toText(),
                               sheet.cell(3, 2).toText(), sheet.cell(3, 3).toText(), sheet.cell(3, 4).toText(),
                               sheet.cell(4, 1).toText(), sheet.cell(4, 2).toText(), sheet.cell(4, 3).toText(),
                               sheet.cell(4, 4).toText(), sheet.cell(4, 5).toText()};
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Datum transakcije"), QStringLiteral("Valuta"), QStringLiteral(" +01 "),
                                  QStringLiteral("Cena"), QStringLiteral("True"), QStringLiteral("#DIV/0!"),
                                  QStringLiteral("01.01.1904"), QStringLiteral("12:00:00"),
                                  QStringLiteral("02.01.1904 06:00:00"), QStringLiteral("1234,5"), QStringLiteral("0,001")}));
    EXPECT_TRUE(sheet.cell(3, 4).isError());
    EXPECT_TRUE(sheet.cell(2, 1).isEmpty());
    EXPECT_EQ(book.sheet(2).usedRows(), 0);
}

// A workbook whose content the reading must not take on trust is refused with a message: formulas
// that were never calculated, a document type (which could define entities), more values than a
// reading may hold. A sheet of rows whose one cell is in the last column is read.
TEST(XlsxFromAnotherProgram, UncalculatedFormulasDtdsAndTooManyValuesAreRefusedWithAMessage)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("other.xlsx"));
    auto refusal = [&] {
        try {
            Workbook::open(file);
        } catch (const WorkbookError& e) {
            return e.message();
        }
        return QString();
    };
    const QString prefix = QStringLiteral("Napaka pri branju datoteke ") + file + QStringLiteral(": ");
    const QByteArray cell = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>x</t></is></c></row>";

    for (const QByteArray& formula : {QByteArray("<c r=\"A2\"><f>10+2.5</f></c>"), QByteArray("<c r=\"A2\"><f>10+2.5</f><v></v></c>")}) {
        XlsxFixture::writeWorkbook(file, {{QStringLiteral("A"), cell + "<row r=\"2\">" + formula + "</row>"}});
        EXPECT_EQ(refusal(), prefix + QStringLiteral("delovni zvezek vsebuje formule, ki niso bile nikoli izračunane; odprite "
                                                     "ga v programu za preglednice, ga shranite in ga nato uvozite znova"));
    }

    QMap<QString, QByteArray> parts = XlsxFixture::workbookParts({{QStringLiteral("A"), cell}});
    QByteArray& sheet = parts[QStringLiteral("xl/worksheets/sheet1.xml")];
    sheet.replace("<?xml version=\"1.0\"?>", "<?xml version=\"1.0\"?><!DOCTYPE worksheet [<!ENTITY firma \"ZTFI\">]>");
    XlsxFixture::writeParts(file, parts);
    EXPECT_EQ(refusal(), prefix + QStringLiteral("del xl/worksheets/sheet1.xml vsebuje definicijo tipa dokumenta (DTD), ki "
                                                 "je delovni zvezek ne sme imeti"));

    QByteArray strings;
    for (int i = 0; i <= 2000000; ++i)
        strings += "<si/>";
    XlsxFixture::writeWorkbook(file, {{QStringLiteral("A"), cell}}, strings);
    EXPECT_EQ(refusal(), prefix + QStringLiteral("delovni zvezek je prevelik za uvoz (več kot 2.000.000 vrednosti ali "
                                                 "50.000.000 znakov besedila)"));

    QByteArray rows;
    for (int r = 1; r <= 8000; ++r)
        rows += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"XFD" + QByteArray::number(r) + "\"><v>" + QByteArray::number(r)
            + "</v></c></row>";
    XlsxFixture::writeWorkbook(file, {{QStringLiteral("A"), rows}});
    const Workbook wide = Workbook::open(file);
    EXPECT_EQ(wide.sheet(1).usedColumns(), 16384);
    EXPECT_EQ(wide.sheet(1).cell(8000, 16384), Cell::number(8000));
    EXPECT_TRUE(wide.sheet(1).isRowEmpty(8001));
    EXPECT_FALSE(wide.sheet(1).isRowEmpty(7));
}

// Values as other programs may write them, one to a row in column B: numbers with blanks, signs,
// no digits before the point or more digits than a double holds, references with leading zeros,
// texts with references, CDATA and characters outside the BMP, and a text cell written empty
// (no cell) or with an empty content (an empty text).
TEST(XlsxFromAnotherProgram, ValuesInLessCommonFormsAreReadAsWritten)
{
    const std::vector<std::pair<QByteArray, Cell>> cases = {
        {"<c r=\"B1\"><v> 12 </v></c>", Cell::number(12)},
        {"<c r=\"B2\"><v>+5</v></c>", Cell::number(5)},
        {"<c r=\"B3\"><v>1.</v></c>", Cell::number(1)},
        {"<c r=\"B4\"><v>.5</v></c>", Cell::number(0.5)},
        {"<c r=\"B5\"><v>-1.25E+02</v></c>", Cell::number(-125)},
        {"<c r=\"B6\"><v>0</v></c>", Cell::number(0)},
        {"<c r=\"B7\"><v>0.1</v></c>", Cell::number(0.1)},
        {"<c r=\"B8\"><v>123456789012345678901234567890</v></c>", Cell::number(1.2345678901234568e29)},
        {"<c r=\"B9\"><v>4.9e-324</v></c>", Cell::number(4.9e-324)},
        {"<c r=\"B0010\" t=\"s\"><v> 0 </v></c>", Cell::text(QStringLiteral("Valuta"))},
        {"<c r=\"B11\" t=\"inlineStr\"><is><t>a&amp;b&#x10348;</t></is></c>", Cell::text(QStringLiteral("a&b\U00010348"))},
        {"<c r=\"B12\" t=\"inlineStr\"><is><t><![CDATA[<x> &amp;]]></t></is></c>", Cell::text(QStringLiteral("<x> &amp;"))},
        {"<c r=\"B13\" t=\"str\"><f>A1</f><v>&quot;č&quot;</v></c>", Cell::text(QStringLiteral("\"č\""))},
        {"<c r=\"B14\" t=\"inlineStr\"/>", Cell()},
        {"<c r=\"B15\" t=\"inlineStr\"></c>", Cell::text(QString())},
        {"<c r=\"B16\" t=\"inlineStr\"><is><t></t></is></c>", Cell::text(QString())},
        {"<c r=\"B17\" t=\"str\"><f>\"\"</f><v></v></c>", Cell::text(QString())},
        {"<c r=\"B18\" t=\"str\"><f>\"\"</f><v/></c>", Cell::text(QString())},
    };
    QByteArray rows;
    for (size_t i = 0; i < cases.size(); ++i)
        rows += "<row r=\"" + QByteArray::number(qulonglong(i + 1)).rightJustified(4, '0') + "\">" + cases[i].first + "</row>";
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("other.xlsx"));
    XlsxFixture::writeWorkbook(file, {{QStringLiteral("A"), rows}}, "<si><t>Valuta</t></si>");

    const Workbook book = Workbook::open(file);
    const WorkbookSheet& sheet = book.sheet(1);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Cell& cell = sheet.cell(int(i + 1), 2);
        EXPECT_EQ(cell.kind(), cases[i].second.kind()) << cases[i].first.constData();
        EXPECT_EQ(cell, cases[i].second) << cases[i].first.constData() << " read as " << cell.toText().toStdString();
        // An empty text is a null string, which binds as NULL.
        EXPECT_EQ(cell.toText().isNull(), cases[i].second.toText().isNull()) << cases[i].first.constData();
    }
    EXPECT_EQ(sheet.usedRows(), int(cases.size()));
}

// A sheet of many long texts goes to the parser in pieces that end inside them and inside their
// characters; a text equal to the one above it in its column is read as often as it stands. A text
// of 32767 UTF-16 units is read, of one more (characters outside the BMP count two) refused.
TEST(XlsxFromAnotherProgram, LongTextsAcrossManyRowsAreReadWholeAndWithinTheLimit)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("other.xlsx"));
    auto textOf = [](int row) { return QString(row % 2000, QChar(u'ž')) + QString::number(row / 3); };
    QByteArray rows;
    for (int r = 1; r <= 1000; ++r)
        rows += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r) + "\" t=\"inlineStr\"><is><t>"
            + textOf(r).toUtf8() + "</t></is></c><c t=\"inlineStr\"><is><t>" + textOf(r / 3 * 3).toUtf8()
            + "</t></is></c><c><v>" + QByteArray::number(r) + "</v></c></row>";
    ASSERT_GT(rows.size(), 2 * 256 * 1024);
    XlsxFixture::writeWorkbook(file, {{QStringLiteral("A"), rows}});
    const Workbook book = Workbook::open(file);
    const WorkbookSheet& sheet = book.sheet(1);
    ASSERT_EQ(sheet.usedRows(), 1000);
    for (int r = 1; r <= 1000; ++r) {
        ASSERT_EQ(sheet.cell(r, 1), Cell::text(textOf(r))) << r;
        ASSERT_EQ(sheet.cell(r, 2), Cell::text(textOf(r / 3 * 3))) << r;
        ASSERT_EQ(sheet.cell(r, 3), Cell::number(r)) << r;
    }

    const QString outside = QString::fromUcs4(U"\U00010348");
    const std::vector<std::pair<QString, bool>> limits = {
        {QString(32767, QChar(u'č')), true},
        {outside.repeated(16383) + QStringLiteral("x"), true},
        {outside.repeated(16384), false},
        {QString(32768, QChar(u'a')), false},
    };
    for (const auto& [text, read] : limits) {
        XlsxFixture::writeWorkbook(
            file, {{QStringLiteral("A"), "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><r><t>" + text.left(100).toUtf8()
                                             + "</t></r><r><t>" + text.mid(100).toUtf8() + "</t></r></is></c></row>"}});
        try {
            EXPECT_EQ(Workbook::open(file).sheet(1).cell(1, 1).toText(), text);
            EXPECT_TRUE(read) << text.size();
        } catch (const WorkbookError& e) {
            EXPECT_FALSE(read) << text.size();
            EXPECT_EQ(e.message(), QStringLiteral("Napaka pri branju datoteke ") + file
                                       + QStringLiteral(": besedilo celice je daljše od 32767 znakov"));
        }
    }
}

// A cell's text is refused while it arrives, before it takes the memory a small archive can
// inflate to: a value longer than one text of the parser as damaged, an inline text longer than
// 32767 characters as too long.
TEST(XlsxFromAnotherProgram, HugeCellTextsAreRefusedAsTheyArrive)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("other.xlsx"));
    const QByteArray huge(10000001, 'a');
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {"<c r=\"A1\" t=\"str\"><f>A2</f><v>" + huge + "</v></c>", QStringLiteral("datoteka je poškodovana ali nepopolna")},
        {"<c r=\"A1\" t=\"inlineStr\"><is><t>" + huge + "</t></is></c>",
         QStringLiteral("besedilo celice je daljše od 32767 znakov")},
    };
    for (const auto& [cell, message] : cases) {
        XlsxFixture::writeWorkbook(file, {{QStringLiteral("A"), "<row r=\"1\">" + cell + "</row>"}});
        try {
            Workbook::open(file);
            ADD_FAILURE() << "read " << cell.left(40).constData();
        } catch (const WorkbookError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Napaka pri branju datoteke ") + file + QStringLiteral(": ") + message);
        }
    }
}

// FreeXL takes memory for every cell that a sheet of an .xls declares, whatever it holds: a sheet
// that declares all 65536 rows of 256 columns is refused with a message before it is read.
TEST(XlsDeclaringMoreThanItHolds, IsRefusedBeforeItIsRead)
{
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("siroki.xls"));
    CellBlock values(2, 2);
    values.at(1, 1) = Cell::text(QStringLiteral("Datum transakcije"));
    writeWorkbook(file, {{QStringLiteral("A"), values}});
    QFile book(file);
    ASSERT_TRUE(book.open(QIODevice::ReadWrite));
    QByteArray bytes = book.readAll();
    const qsizetype dimensions = bytes.indexOf(QByteArray("\x00\x02\x0e\x00", 4));
    ASSERT_GT(dimensions, 0);
    // rows 0 to 65536, columns 0 to 256
    bytes.replace(dimensions + 4, 12, QByteArray("\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x01", 12));
    book.seek(0);
    book.write(bytes);
    book.close();

    try {
        Workbook::open(file);
        FAIL() << "a sheet declaring 16,777,216 cells was read";
    } catch (const WorkbookError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Napaka pri branju datoteke ") + file
                                   + QStringLiteral(": delovni zvezek je prevelik za uvoz (listi obsegajo več kot "
                                                    "8.388.608 celic)"));
    }
}

}  // namespace
