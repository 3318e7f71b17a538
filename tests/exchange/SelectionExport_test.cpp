#include "exchange/SelectionExport.h"

#include "core/CancellableAction.h"
#include "core/Error.h"

#include "ntrs/ReportWriterFixture.h"
#include "support/ScriptedInteraction.h"
#include "support/WorkbookDump.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace fixture;
using namespace ntrsreport;

namespace {

class SelectionExportTest : public ReportWriterTest {
public:
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    // The sheet written for the open selection, as xlrd reads it.
    DumpedSheet written(const QString& name = QStringLiteral("export.xls"))
    {
        SelectionExport(rows).write(SelectionExport::sheetTitle(), path(name));
        const std::vector<DumpedSheet> sheets = dumpWithXlrd(path(name));
        EXPECT_EQ(sheets.size(), 1u);
        return sheets.empty() ? DumpedSheet{} : sheets.front();
    }
};

TEST_F(SelectionExportTest, AnIndependentReaderFindsTheSheetTheHeadersAndEveryColumnsValue)
{
    db.trade({.id = 123456789012, .time = QTime(15, 45, 10), .kind = QStringLiteral("P"), .quantity = 1500,
              .price = 12.75})
        .selected({.report = kReport, .trade = 123456789012, .reference = 1});
    openSelection();

    for (const char* name : {"export.xls", "export.xlsx"}) {
        SCOPED_TRACE(name);
        const DumpedSheet sheet = written(QLatin1String(name));
        EXPECT_EQ(sheet.name, QStringLiteral("ZTFI Export"));
        ASSERT_EQ(sheet.rows.size(), 2);
        EXPECT_EQ(sheet.rows[0].join(u'|').toStdString(),
                  QStringList({"text:Datum transakcije", "text:Čas transakcije", "text:Časovni pas",
                               "text:Indikator nakupa/prodaje", "text:Trgovalna zmogljivost",
                               "text:Identifikacija instrumenta ISIN", "text:Kratica VP", "text:Cena enote",
                               "text:Zapis cene", "text:Valuta", "text:Količina", "text:Nasprotna stranka",
                               "text:Oznaka nasprotne stranke", "text:Klient", "text:Oznaka klienta",
                               "text:Identifikacija mesta", "text:Oznaka ident. mesta",
                               "text:Razveljavitvena zastavica", "text:Referenčna št. transakcije"})
                      .join(u'|')
                      .toStdString());
        // The day, the time, the price and the quantity are the spreadsheet's own date, time and
        // numbers; the offset is a text without the apostrophe that marks it as one.
        EXPECT_EQ(sheet.rows[1].join(u'|').toStdString(),
                  QStringList({"date:2026-03-02 00:00:00", "date:0000-00-00 15:45:10", "text:+01", "text:S", "text:P",
                               "text:SI0000000011", "text:DELA", "number:12.75", "text:C", "text:EUR",
                               "number:1500.0", "text:XLJU", "text:MIC", "empty:", "empty:", "text:XLJU",
                               "text:MIC", "empty:", "number:123456789012.0"})
                      .join(u'|')
                      .toStdString());
    }
}

// LibreOffice takes the exported day, time, price and quantity as its own date, time and numbers
// (which it sorts and sums), shows the day as dd.mm.yyyy and keeps the offset a text. Skipped
// where LibreOffice is not installed.
TEST_F(SelectionExportTest, LibreOfficeTakesTheDayTimePriceAndQuantityAsItsOwnValues)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    db.trade({.id = 41, .time = QTime(15, 45, 10), .quantity = 1500, .price = 12.75})
        .selected({.report = kReport, .trade = 41, .reference = 1});
    openSelection();
    // Both files, named apart, convert in one start of LibreOffice per format.
    const QStringList kinds{QStringLiteral("xls"), QStringLiteral("xlsx")};
    QStringList files;
    for (const QString& kind : kinds) {
        files.append(path(QStringLiteral("export-%1.%1").arg(kind)));
        SelectionExport(rows).write(SelectionExport::sheetTitle(), files.last());
    }
    for (const QString& format :
         {QStringLiteral("fods"), QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true")}) {
        QProcess convert;
        convert.start(office, QStringList{QStringLiteral("-env:UserInstallation=file://") + folder.path()
                                              + QStringLiteral("/profile"),
                                          QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                                          QStringLiteral("--outdir"), path(QStringLiteral("lo"))}
                                  + files);
        ASSERT_TRUE(convert.waitForFinished(180000));
    }
    for (const QString& kind : kinds) {
        SCOPED_TRACE(kind.toStdString());
        QFile fods(path(QStringLiteral("lo/export-%1.fods").arg(kind)));
        ASSERT_TRUE(fods.open(QIODevice::ReadOnly));
        const QByteArray document = fods.readAll();
        for (const char* cell : {"office:value-type=\"date\" office:date-value=\"2026-03-02\"",
                                 "office:value-type=\"time\" office:time-value=\"PT15H45M10S\"",
                                 "office:value-type=\"float\" office:value=\"12.75\"",
                                 "office:value-type=\"float\" office:value=\"1500\""})
            EXPECT_TRUE(document.contains(cell)) << cell;
        QFile csv(path(QStringLiteral("lo/export-%1.csv").arg(kind)));
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        EXPECT_TRUE(csv.readAll().split('\n').value(1).startsWith("02.03.2026,15:45:10,+01,"));
    }
}

TEST_F(SelectionExportTest, ACancellationIsMarkedInColumn18)
{
    db.cancellation({.trade = {.id = 1}})
        .selected({.report = kReport, .trade = 1, .cancellation = QStringLiteral("D"), .reference = 7});
    openSelection();

    const DumpedSheet sheet = written();

    ASSERT_EQ(sheet.rows.size(), 2);
    EXPECT_EQ(sheet.rows[1].value(17).toStdString(), "text:C");
}

// Columns 12 to 17 of one report row, by the kind of the row. Market 30 is an OTC market
// (SfTrz 3), market 40 of another kind; person 20 (contract 200) is the client on the other
// side of an internal match, person 30 (contract 300) an outside party.
struct ColumnCase {
    const char* name;
    void (*setup)(ReportWriterTest& t);
    QStringList columns;  // 12 to 17, empty texts for empty cells
};

void PrintTo(const ColumnCase& c, std::ostream* os)
{
    *os << c.name;
}

class ColumnRulesTest : public SelectionExportTest, public testing::WithParamInterface<ColumnCase> {
protected:
    ColumnRulesTest()
    {
        db.market({.id = 30, .mic = QStringLiteral("XOTC"), .kind = QStringLiteral("3")})
            .market({.id = 40, .mic = QStringLiteral("XOTH"), .kind = QStringLiteral("1")})
            .person({.id = 20, .name = QStringLiteral("Stranka B")})
            .contract({.id = 200, .person = 20})
            .person({.id = 30, .swift = QStringLiteral("trpysi22"), .name = QStringLiteral("Banka C")})
            .contract({.id = 300, .person = 30});
    }
};

void clientSwift(ReportWriterTest& t)
{
    t.db.exec(QStringLiteral("UPDATE OSB SET SWIFT='clntsi2x' WHERE SfOsb=10"));
}

void clientBank(ReportWriterTest& t)
{
    t.db.exec(QStringLiteral("UPDATE OSB SET KRTBNK='kli' WHERE SfOsb=10"));
}

void internalMatch(ReportWriterTest& t, const char* ownActivity, const char* otherActivity)
{
    t.db.trade({.id = 2, .activity = QLatin1String(otherActivity), .market = 30, .contract = 200, .counterTrade = 1})
        .trade({.id = 1, .activity = QLatin1String(ownActivity), .market = 30, .counterTrade = 2})
        .selected({.report = kReport, .trade = 1, .reference = 1});
}

TEST_P(ColumnRulesTest, CounterpartyClientAndVenue)
{
    const ColumnCase& c = GetParam();
    c.setup(*this);
    openSelection();

    const CellBlock values = SelectionExport(rows).values();

    ASSERT_EQ(values.rows(), 2);
    QStringList columns;
    for (int column = 12; column <= 17; ++column)
        columns.append(values.at(2, column).toText());
    EXPECT_EQ(columns.join(u'|').toStdString(), c.columns.join(u'|').toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    SelectionExport, ColumnRulesTest,
    testing::Values(
        ColumnCase{"ImportedWithClient",
                   [](ReportWriterTest& t) {
                       t.importedTransaction(1, 11, QStringLiteral("123"), QStringLiteral("Internal"),
                                             QStringLiteral("cptysi22"), QStringLiteral("BIC"));
                   },
                   {"CPTYSI22", "BIC", "0000000123", "Internal", "OTC", "XOFF"}},
        ColumnCase{"ImportedWithoutClient",
                   [](ReportWriterTest& t) {
                       t.importedTransaction(1, 11, QString(), QString(), QStringLiteral("xlju"),
                                             QStringLiteral("MIC"));
                   },
                   {"XLJU", "MIC", "", "", "OTC", "XOFF"}},
        ColumnCase{"VenueForClientWithEightCharacterBic",
                   [](ReportWriterTest& t) {
                       clientSwift(t);
                       t.db.trade({.id = 1, .activity = QStringLiteral("K")}).selected({.report = kReport});
                   },
                   {"XLJU", "MIC", "CLNTSI2XXXX", "BIC", "XLJU", "MIC"}},
        ColumnCase{"VenueForClientByThreeCharacterCode",
                   [](ReportWriterTest& t) {
                       clientBank(t);
                       t.db.trade({.id = 1, .activity = QStringLiteral("K")}).selected({.report = kReport});
                   },
                   {"XLJU", "MIC", "0000000KLI", "Internal", "XLJU", "MIC"}},
        ColumnCase{"VenueOnOwnAccount",
                   [](ReportWriterTest& t) { t.exchangeTrade(); },
                   {"XLJU", "MIC", "", "", "XLJU", "MIC"}},
        ColumnCase{"MatchOwnAccountAgainstClient",
                   [](ReportWriterTest& t) {
                       t.db.exec(QStringLiteral("UPDATE OSB SET SWIFT='cptysi2x' WHERE SfOsb=20"));
                       internalMatch(t, "L", "K");
                   },
                   {"CPTYSI2X", "BIC", "", "", "OTC", "XOFF"}},
        ColumnCase{"MatchBetweenClients",
                   [](ReportWriterTest& t) {
                       clientBank(t);
                       internalMatch(t, "K", "K");
                   },
                   {"CC", "CC", "0000000KLI", "Internal", "OTC", "XOFF"}},
        ColumnCase{"MatchBothOnOwnAccount", [](ReportWriterTest& t) { internalMatch(t, "L", "L"); },
                   {"", "", "", "", "OTC", "XOFF"}},
        ColumnCase{"ClientAgainstOwnAccount", [](ReportWriterTest& t) { internalMatch(t, "K", "L"); },
                   {"", "", "", "", "OTC", "XOFF"}},
        ColumnCase{"OutsidePartyWithBic",
                   [](ReportWriterTest& t) {
                       clientSwift(t);
                       t.db.trade({.id = 1, .activity = QStringLiteral("K"), .market = 30, .counterContract = 300})
                           .selected({.report = kReport});
                   },
                   {"TRPYSI22", "BIC", "CLNTSI2XXXX", "BIC", "OTC", "XOFF"}},
        ColumnCase{"OutsidePartyWithoutBicOnOwnAccount",
                   [](ReportWriterTest& t) { t.db.trade({.id = 1, .market = 30}).selected({.report = kReport}); },
                   {"CC", "CC", "", "", "OTC", "XOFF"}},
        ColumnCase{"OtherMarketKind",
                   [](ReportWriterTest& t) {
                       clientSwift(t);
                       t.db.trade({.id = 1, .activity = QStringLiteral("K"), .market = 40}).selected({.report = kReport});
                   },
                   {"", "", "", "", "OTC", "XOFF"}}),
    [](const testing::TestParamInfo<ColumnCase>& info) { return std::string(info.param.name); });

TEST_F(SelectionExportTest, TheButtonProposesTodaysNameInTheProgramFolderAndOpensTheWrittenFile)
{
    exchangeTrade();
    openSelection();
    ScriptedInteraction ui;
    const QString target = path(QStringLiteral("chosen.xls"));
    ui.answerFileToSave(target);

    exportSelectionToChosenFile(rows, ui, programFolder(), QDate(2024, 3, 5));

    ASSERT_EQ(ui.calls().size(), 2u);
    EXPECT_EQ(ui.calls()[0].arguments,
              QStringList({programFolder(), "ZTFIExport2024-03-05.xls", "Excel file|*.xls|Excel 2007 file|*.xlsx",
                           "Izvoz datoteka v !", "xls"}));
    EXPECT_EQ(ui.calls()[1].kind, QStringLiteral("openWithDefaultApplication"));
    EXPECT_EQ(ui.calls()[1].text, target);
    EXPECT_EQ(dumpWithXlrd(target).at(0).rows.size(), 2);
}

TEST_F(SelectionExportTest, AnEmptySelectionOrACancelledChoiceWritesNothing)
{
    openSelection();
    ScriptedInteraction ui;
    try {
        exportSelectionToChosenFile(rows, ui, programFolder(), QDate(2024, 3, 5));
        ADD_FAILURE() << "an empty selection was exported";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Nabor je prazen! Izvoz ni možen!"));
    }
    EXPECT_TRUE(ui.calls().empty());

    exchangeTrade();
    openSelection();
    ui.answerFileToSave(QString());
    exportSelectionToChosenFile(rows, ui, programFolder(), QDate(2024, 3, 5));
    EXPECT_EQ(ui.calls().size(), 1u);
    EXPECT_EQ(reportFiles(), QStringList());
}

// A save that fails is reported with the file and the reason; no file is left under the chosen
// name (an earlier one stays as it was) and nothing is opened.
TEST_F(SelectionExportTest, AFailedSaveNamesTheFileAndTheReasonAndOpensNothing)
{
    exchangeTrade();
    openSelection();
    ScriptedInteraction ui;
    const QString missingFolder = path(QStringLiteral("gone/export.xls"));
    ui.answerFileToSave(missingFolder);
    try {
        exportSelectionToChosenFile(rows, ui, programFolder(), QDate(2024, 3, 5));
        ADD_FAILURE() << "the save into a missing folder succeeded";
    } catch (const ZtfiError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Napaka pri pisanju datoteke ") + missingFolder + ": "))
            << e.message().toStdString();
    }
    EXPECT_EQ(ui.texts(QStringLiteral("openWithDefaultApplication")), QStringList());
    EXPECT_FALSE(QFileInfo::exists(missingFolder));
}

// A cancel while the values are collected, or before the workbook is written, leaves no file and
// opens nothing; an earlier file of the name stays as it was.
TEST_F(SelectionExportTest, ACancelledExportLeavesNoFileAndOpensNothing)
{
    exchangeTrade();
    exchangeTrade(2);
    openSelection();
    const QString target = path(QStringLiteral("chosen.xls"));
    QFile earlier(target);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    for (const char* step : {"Izvoz nabora", "Izvoz nabora: zapis datoteke"}) {
        SCOPED_TRACE(step);
        ScriptedInteraction ui;
        ui.answerFileToSave(target);
        ui.cancelAtStep(QString::fromUtf8(step));
        try {
            exportSelectionToChosenFile(rows, ui, programFolder(), QDate(2024, 3, 5));
            ADD_FAILURE() << "not cancelled";
        } catch (const ActionCancelled& cancelled) {
            EXPECT_EQ(cancelled.message(), SelectionExport::cancelledMessage());
        }
        EXPECT_FALSE(ui.cancellable());
        EXPECT_EQ(ui.texts(QStringLiteral("openWithDefaultApplication")), QStringList());
        EXPECT_EQ(reportFiles(), QStringList{QStringLiteral("chosen.xls")});
        EXPECT_EQ(fileText(QStringLiteral("chosen.xls")), "earlier");
    }
}

}  // namespace
