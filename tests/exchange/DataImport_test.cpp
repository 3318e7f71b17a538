#include "exchange/ColumnLetters.h"
#include "exchange/DataImport.h"
#include "exchange/DataImportError.h"
#include "exchange/SeparatedDataImport.h"
#include "exchange/StringListDataImport.h"
#include "exchange/WorkbookWriter.h"

#include "support/ScriptedInteraction.h"
#include "support/XlsxFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The message of the error an action throws, or empty.
QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ZtfiError& e) {
        return e.message();
    }
    return QString();
}

class DataImportTest : public testing::Test {
public:
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    QString writeFile(const QString& name, const QByteArray& content) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path(name);
    }

    TDataImportStructureItem& addItem(const QString& name, int column, TDataImportDataType type = didtString)
    {
        TDataImportStructureItem& item = import.Structure().Add();
        item.Name = name;
        item.Column = column;
        item.DataType = type;
        return item;
    }

    // The rows read, each as its texts joined by "|".
    QStringList rows() const
    {
        QStringList result;
        for (int i = 0; i < import.Count(); ++i)
            result.append(import.Items(i).Values().join(QLatin1Char('|')));
        return result;
    }

    QTemporaryDir folder;
    ScriptedInteraction ui;
    TDataImport import{ui};
};

TEST(ColumnLetters, OneOrTwoLettersUpToIV)
{
    const std::vector<std::pair<int, QString>> cases = {
        {1, QStringLiteral("A")}, {26, QStringLiteral("Z")}, {27, QStringLiteral("AA")}, {52, QStringLiteral("AZ")},
        {53, QStringLiteral("BA")}, {256, QStringLiteral("IV")}};
    for (const auto& [index, letters] : cases)
        EXPECT_EQ(columnLetters(index), letters) << index;
    for (int index : {0, 257})
        EXPECT_EQ(errorOf([&] { columnLetters(index); }), QStringLiteral("Column index must be between 1 and 256 inclusive."));
}

TEST(SeparatedDataImport, FieldsOfALine)
{
    const std::vector<std::pair<QString, QStringList>> cases = {
        {QStringLiteral("a;b;"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a;;c"), {QStringLiteral("a"), QString(), QStringLiteral("c")}},
        {QStringLiteral(";b"), {QString(), QStringLiteral("b")}},
        {QStringLiteral(";"), {QString()}},
        {QStringLiteral("a"), {QStringLiteral("a")}},
        {QString(), {}},
        {QStringLiteral("\"a;b\""), {QStringLiteral("\"a"), QStringLiteral("b\"")}},
    };
    for (const auto& [line, fields] : cases)
        EXPECT_EQ(TSeparatedDataImport::split(line, QLatin1Char(';')), fields) << line.toStdString();
}

// Rows in memory, a header line skipped, every type tested in the system's formats.
TEST_F(DataImportTest, RowsInMemoryAreTestedByTypeAndFetchedByName)
{
    addItem(QStringLiteral("Datum"), 0, didtDate);
    addItem(QStringLiteral("Znesek"), 1, didtFloat);
    addItem(QStringLiteral("Kos"), 2, didtInteger);
    addItem(QStringLiteral("Cas"), 3, didtTime);
    addItem(QStringLiteral("Trenutek"), 4, didtDateTime);
    addItem(QStringLiteral("Opis"), 5, didtInteger).CheckDataType = false;
    import.setDataSource(didsStringList);
    import.setFirstRow(1);
    import.setEmptyValue(QStringLiteral("-"));
    import.setData(QVariantList{
        QStringList{QStringLiteral("Datum"), QStringLiteral("Znesek")},
        QStringList{QStringLiteral("05.03.2024"), QStringLiteral("1.234,50"), QStringLiteral("-7"), QStringLiteral("15:45:10"),
                    QStringLiteral("5.3.2024 9:30"), QStringLiteral("brez")},
        QStringList{QString(), QStringLiteral("0,5"), QString(), QStringLiteral("9:30"), QStringLiteral("05.03.2024"), QString()},
    });
    import.Load();

    EXPECT_EQ(rows(), (QStringList{QStringLiteral("05.03.2024|1234,50|-7|15:45:10|5.3.2024 9:30|brez"),
                                   QStringLiteral("-|0,5|-|9:30|05.03.2024|-")}));
    EXPECT_EQ(import.Items(0).Value(QStringLiteral("znesek")), QStringLiteral("1234,50"));
    EXPECT_EQ(errorOf([&] { import.Items(0).Value(QStringLiteral("Valuta")); }),
              QStringLiteral("TDataImportItem: field Valuta not found."));
    EXPECT_EQ(errorOf([] { TDataImportItem item(nullptr); }),
              QStringLiteral("TDataImportItem: invalid parameter value : AOwner."));
    EXPECT_TRUE(ui.calls().empty());
}

TEST_F(DataImportTest, ValuesNotOfTheirTypeEndTheReading)
{
    const std::vector<std::tuple<TDataImportDataType, QString, QString>> cases = {
        {didtInteger, QStringLiteral("12a"), QStringLiteral("'12a' is not a valid integer value")},
        {didtInteger, QStringLiteral("1,5"), QStringLiteral("'1,5' is not a valid integer value")},
        {didtFloat, QStringLiteral("1,2,3"), QStringLiteral("'1,2,3' is not a valid floating point value")},
        {didtDate, QStringLiteral("32.01.2024"), QStringLiteral("'32.01.2024' is not a valid date")},
        {didtDate, QStringLiteral("2024-01-05"), QStringLiteral("'2024-01-05' is not a valid date")},
        {didtTime, QStringLiteral("25:00"), QStringLiteral("'25:00' is not a valid time")},
        {didtDateTime, QStringLiteral("05.03.2024 10"), QStringLiteral("'05.03.2024 10' is not a valid date and time")},
    };
    import.setDataSource(didsStringList);
    for (const auto& [type, text, message] : cases) {
        import.Structure().Clear();
        addItem(QStringLiteral("V"), 0, type);
        import.setData(QVariantList{QStringList{text}});
        EXPECT_EQ(errorOf([&] { import.Load(); }), message) << text.toStdString();
    }
}

TEST_F(DataImportTest, WhatLoadRefusesBeforeReading)
{
    const QString existing = writeFile(QStringLiteral("a.txt"), "a;b\n");
    const std::vector<std::pair<std::function<void()>, QString>> cases = {
        {[&] { import.setDataSource(didsStringList); }, QStringLiteral("No data for didsStringList data source.")},
        {[&] { import.setFileName(path(QStringLiteral("none.xls"))); },
         QStringLiteral("File \"%1\" not found.").arg(path(QStringLiteral("none.xls")))},
        {[&] {
             import.setDataSource(didsSemicolon);
             import.setFileName(path(QStringLiteral("none.txt")));
         },
         QStringLiteral("File \"%1\" not found.").arg(path(QStringLiteral("none.txt")))},
        {[&] {
             import.setFileName(existing);
             import.Structure().Clear();
         },
         QStringLiteral("Structure is empty.")},
        {[&] {
             import.setFileName(existing);
             import.setDataSource(TDataImportDataSource(9));
         },
         QStringLiteral("Unknown data source: 9")},
    };
    for (const auto& [setUp, message] : cases) {
        import.Structure().Clear();
        addItem(QStringLiteral("A"), 0);
        import.setDataSource(didsExcel);
        import.setFileName(QString());
        setUp();
        EXPECT_EQ(errorOf([&] { import.Load(); }), message);
    }
}

TEST_F(DataImportTest, SourcesTellWhatTheyCannotRead)
{
    TStringListDataImport list;
    EXPECT_EQ(errorOf([&] { list.Next(); }), QStringLiteral("TStringListDataImport.Next: FList = nil!"));
    const QVariantList entries{QStringList{QStringLiteral("x")}, QVariant(), QVariant(42)};
    list.SetData(&entries);
    EXPECT_EQ(list.GetValue(0).toText(), QStringLiteral("x"));
    list.Next();
    EXPECT_EQ(errorOf([&] { list.GetValue(0); }), QStringLiteral("TStringListDataImport.CheckRecord: ni podatkov za zapis št. 1"));
    list.Next();
    EXPECT_EQ(errorOf([&] { list.GetValue(0); }),
              QStringLiteral("TStringListDataImport.CheckRecord: neveljaven tip objekta za zapis št. 2"));
    list.Next();
    list.Next();
    EXPECT_TRUE(list.Eof());
    EXPECT_EQ(errorOf([&] { list.GetValue(0); }),
              QStringLiteral("TStringListDataImport.CheckRecord: neveljavna lokacija zapisa, lokacija: 3, število zapisov: 3"));

    TSeparatedDataImport text(QLatin1Char(';'));
    EXPECT_EQ(errorOf([&] { text.Eof(); }), QStringLiteral("TSeparatedDataImport: data not loaded."));
    EXPECT_EQ(errorOf([&] { text.Open(path(QStringLiteral("none.txt"))); }),
              QStringLiteral("File \"%1\" does not exist.").arg(path(QStringLiteral("none.txt"))));
}

// A column the rows do not have: Abort keeps the rows read before, Ignore asks once.
TEST_F(DataImportTest, AMissingColumnIsAnnouncedWithAbortOrIgnore)
{
    addItem(QStringLiteral("Prvo"), 0);
    addItem(QStringLiteral("Drugo"), 1);
    import.setDataSource(didsStringList);
    import.setEmptyValue(QStringLiteral("?"));
    import.setData(QVariantList{QStringList{QStringLiteral("a"), QStringLiteral("b")}, QStringList{QStringLiteral("c")},
                                QStringList{QStringLiteral("d")}});

    ui.answerAbortIgnore(Interaction::AbortIgnore::Abort);
    import.Load();
    EXPECT_EQ(rows(), QStringList{QStringLiteral("a|b")});
    EXPECT_EQ(ui.texts(QStringLiteral("askAbortIgnore")), QStringList{QStringLiteral("V XLS datoteki manjka polje Drugo.")});

    ui.clearCalls();
    ui.answerAbortIgnore(Interaction::AbortIgnore::Ignore);
    import.Load();
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("a|b"), QStringLiteral("c|?"), QStringLiteral("d|?")}));
    EXPECT_EQ(ui.texts(QStringLiteral("askAbortIgnore")), QStringList{QStringLiteral("V XLS datoteki manjka polje Drugo.")});
}

TEST_F(DataImportTest, SeparatedTextFiles)
{
    addItem(QStringLiteral("Ime"), 0);
    addItem(QStringLiteral("Znesek"), 2, didtFloat);
    import.setFirstRow(1);
    import.setEmptyValue(QStringLiteral("-"));
    import.setDataSource(didsTAB);
    // Windows-1250 with CRLF line ends and no line end after the last line.
    import.setFileName(writeFile(QStringLiteral("tab.txt"), "Ime\tX\tZnesek\r\n\x8A" "ega\t1\t2.500,75\r\nB\t\t"));
    import.Load();
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("Šega|2500,75"), QStringLiteral("B|-")}));

    import.setDataSource(didsSemicolon);
    import.setFirstRow(0);
    import.setFileName(writeFile(QStringLiteral("semi.csv"), "Čas;;3;\n\nx;y;4,5\n"));
    import.Load();
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("Čas|3"), QStringLiteral("-|-"), QStringLiteral("x|4,5")}));
}

class ExcelDataImportTest : public DataImportTest, public testing::WithParamInterface<const char*> {
public:
    QString book(const QString& name) const { return path(name + QLatin1String(GetParam())); }
};

TEST_P(ExcelDataImportTest, RowsUntilColumnAIsEmptyOrTheUsedRangeEnds)
{
    CellBlock values(5, 256);
    values.at(1, 1) = Cell::text(QStringLiteral("Datum"));
    values.at(2, 1) = Cell::date(QDate(2024, 3, 5));
    values.at(2, 2) = Cell::number(1234.5);
    values.at(2, 26) = Cell::text(QStringLiteral("Z2"));
    values.at(2, 27) = Cell::text(QStringLiteral("AA2"));
    values.at(2, 256) = Cell::text(QStringLiteral("IV2"));
    values.at(3, 1) = Cell::text(QStringLiteral("06.03.2024"));
    values.at(5, 1) = Cell::text(QStringLiteral("07.03.2024"));
    const QString file = book(QStringLiteral("posli"));
    writeWorkbook(file, {{QStringLiteral("Posli"), values}, {QStringLiteral("Drugi"), values}});

    addItem(QStringLiteral("Datum"), 0, didtDate);
    addItem(QStringLiteral("Znesek"), 1, didtFloat);
    addItem(QStringLiteral("Z"), 25);
    addItem(QStringLiteral("AA"), 26);
    addItem(QStringLiteral("IV"), 255);
    addItem(QStringLiteral("Dalje"), 256);
    import.setFileName(file);
    import.setFirstRow(1);
    ui.answerAbortIgnore(Interaction::AbortIgnore::Ignore);
    import.Load();
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("05.03.2024|1234,5|Z2|AA2|IV2|"), QStringLiteral("06.03.2024|||||")}));
    EXPECT_EQ(ui.texts(QStringLiteral("askAbortIgnore")), QStringList{QStringLiteral("V XLS datoteki manjka polje Dalje.")});

    // Read as one block, the rows go on past an empty column A to the last used row, and a
    // column beyond the used range is missing.
    ui.clearCalls();
    ui.answerAbortIgnore(Interaction::AbortIgnore::Ignore);
    import.setPreload(true);
    import.Load();
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("05.03.2024|1234,5|Z2|AA2|IV2|"), QStringLiteral("06.03.2024|||||"),
                                   QStringLiteral("|||||"), QStringLiteral("07.03.2024|||||")}));
    EXPECT_EQ(ui.texts(QStringLiteral("askAbortIgnore")), QStringList{QStringLiteral("V XLS datoteki manjka polje Dalje.")});

    // Column A empty in the first data row: no rows.
    import.setPreload(false);
    import.setFirstRow(3);
    import.Load();
    EXPECT_EQ(import.Count(), 0);
}

// Header names: columns found by name, times written as digits, a name the header lacks.
TEST_P(ExcelDataImportTest, HeaderNamesFindTheColumns)
{
    CellBlock values(3, 5);
    const QStringList header = {QStringLiteral("Opis"), QString(), QStringLiteral("Cas"), QStringLiteral("Datum")};
    for (int c = 0; c < header.size(); ++c)
        values.at(1, c + 1) = Cell::text(header[c]);
    values.at(2, 1) = Cell::text(QStringLiteral("prvi"));
    values.at(2, 3) = Cell::text(QStringLiteral("1530"));
    values.at(2, 4) = Cell::text(QStringLiteral("05.03.2024"));
    values.at(3, 1) = Cell::text(QStringLiteral("drugi"));
    values.at(3, 3) = Cell::serial(Cell::Kind::Time, 0.396006944444444);  // 09:30:15
    values.at(3, 4) = Cell::date(QDate(2024, 3, 6));
    const QString file = book(QStringLiteral("glava"));
    writeWorkbook(file, {{QStringLiteral("Posli"), values}});

    addItem(QStringLiteral("Datum"), 0, didtDate);
    addItem(QStringLiteral("Cas"), 0, didtTime);
    addItem(QStringLiteral("Manjka"), 0);
    addItem(QStringLiteral("opis"), 0);
    import.setFileName(file);
    import.setHeaderNames(true);
    import.setEmptyValue(QStringLiteral("-"));
    import.Load();
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("05.03.2024|15:30:00|-|-"), QStringLiteral("06.03.2024|09:30:15|-|-")}));
}

INSTANTIATE_TEST_SUITE_P(Formats, ExcelDataImportTest, testing::Values(".xls", ".xlsx"));

TEST_F(DataImportTest, FormulaErrorsEmptyWorkbooksAndFilesThatAreNoWorkbook)
{
    const QString errors = path(QStringLiteral("napaka.xlsx"));
    XlsxFixture::writeWorkbook(errors, {{QStringLiteral("List"),
                                         "<row r=\"1\"><c r=\"A1\" t=\"str\"><v>a</v></c>"
                                         "<c r=\"B1\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c></row>"}});
    addItem(QStringLiteral("A"), 0);
    addItem(QStringLiteral("B"), 1);
    import.setFileName(errors);
    import.Load();
    EXPECT_EQ(rows(), QStringList{QStringLiteral("a|")});
    import.setPreload(true);
    import.Load();
    EXPECT_EQ(rows(), QStringList{QStringLiteral("a|#DIV/0!")});

    const QString empty = path(QStringLiteral("prazen.xlsx"));
    XlsxFixture::writeWorkbook(empty, {});
    import.setFileName(empty);
    EXPECT_EQ(errorOf([&] { import.Load(); }), QStringLiteral("Workbook %1 is empty.").arg(empty));

    const QString text = writeFile(QStringLiteral("besedilo.xls"), "Datum;Cas\n");
    import.setFileName(text);
    EXPECT_EQ(errorOf([&] { import.Load(); }),
              QStringLiteral("Napaka pri branju datoteke %1: datoteka ni Excelov delovni zvezek (.xls ali .xlsx)").arg(text));
}

}  // namespace
