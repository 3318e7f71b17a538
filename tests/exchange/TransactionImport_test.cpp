#include "exchange/TransactionImport.h"

#include "core/Error.h"
#include "data/dataset/AuditTrail.h"
#include "exchange/ImportList.h"
#include "exchange/SelectionExport.h"
#include "exchange/WorkbookWriter.h"
#include "ntrs/ReportWriterFixture.h"
#include "support/QueryPlan.h"
#include "support/ScriptedInteraction.h"

#include <QFile>

using namespace fixture;
using namespace ntrsreport;

namespace {

const QString kDayText = QStringLiteral("02.03.2026");
const QString kConfirm = QStringLiteral("Prosim potrdi import podatkov na dan 02.03.2026 !");

// One sheet row of a manual transaction of the default instrument on 2.3.2026, as texts.
QStringList trade(qint64 reference, const QString& day = kDayText)
{
    return {day, "09:30:15", "+02", "B", "A", "SI0000000011", "DELA", "12,5", "C", "eur", "1.500",
            "CPTYSI22", "BIC", "0000000123", "Internal", "XLJU", "MIC", "", QString::number(reference)};
}

class TransactionImportTest : public ReportWriterTest {
public:
    TransactionImportTest() : import(db.connection(), SqlDialect::Oracle, audit, ui) {}

    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    // A workbook of the header row and the given rows of texts.
    QString sheet(const QList<QStringList>& rows, const QString& name = QStringLiteral("import.xls"))
    {
        CellBlock values(int(rows.size()) + 1, SelectionExport::kColumns);
        for (int c = 1; c <= SelectionExport::kColumns; ++c)
            values.at(1, c) = Cell::text(QStringLiteral("H%1").arg(c));
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                if (!rows[r][c].isEmpty())
                    values.at(r + 2, c + 1) = Cell::text(rows[r][c]);
        writeWorkbook(path(name), {SheetContent{QStringLiteral("ZTFI Export"), values}});
        return path(name);
    }

    ImportOutcome run(const QString& file)
    {
        qint64 next = import.firstIdentifier();
        return import.read(file, kDay, next);
    }

    // The imported rows, one a line.
    std::string imported()
    {
        return db.texts(QStringLiteral(
            "SELECT IDIMP, TO_CHAR(DATUM,'dd.mm.yyyy'), TO_CHAR(CAS,'dd.mm.yyyy hh24:mi:ss'), CASPAS, INDNAKPRO, "
            "TRGZMO, ISIN, KRTVP, CENA, ZAPCENE, VAL, KOL, NASSTR, OZNNASSTR, KLIENT, OZNKLIENTA, IDENTMESTA, "
            "OZNMESTA, RAZTRANSA, REFSTTRANSA, INTINDINSTR, DPATVPID FROM DPATVPIMP ORDER BY IDIMP"))
            .join(u'\n')
            .toStdString();
    }

    QStringList auditKinds()
    {
        return db.texts(QStringLiteral("SELECT SfAct FROM ACT WHERE Tbl='DPATVPIMP' ORDER BY IdAct"));
    }

    ScriptedInteraction ui;
    TransactionImport import;
};

TEST_F(TransactionImportTest, ASheetOfTextsIsImportedForItsDayAfterTheConfirmation)
{
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sheet({trade(11), trade(12)}));

    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.errors, QString());
    EXPECT_EQ(ui.texts(QStringLiteral("confirmOkCancel")), QStringList({kConfirm}));
    EXPECT_EQ(imported(),
              "1|02.03.2026|02.03.2026 09:30:15|+02|B|A|SI0000000011|DELA|12.5|C|EUR|1500|CPTYSI22|BIC|0000000123|"
              "Internal|XLJU|MIC||11|1|\n"
              "2|02.03.2026|02.03.2026 09:30:15|+02|B|A|SI0000000011|DELA|12.5|C|EUR|1500|CPTYSI22|BIC|0000000123|"
              "Internal|XLJU|MIC||12|1|");
    EXPECT_EQ(auditKinds(), QStringList({"+", "+"}));
    EXPECT_TRUE(db.value(QStringLiteral("SELECT Cnt FROM ACT")).toString().startsWith(
        QStringLiteral("1#|IDIMP#|02.03.2026#|DATUM#|02.03.2026 09:30:15#|CAS#|+02#|CASPAS#|")));
}

// A selection exported, then imported for its day, gives its rows back; so does the sheet as a
// spreadsheet stores it (dates, times and numbers as its own values, the offset with the
// apostrophe that marks a text).
TEST_F(TransactionImportTest, AnExportedSelectionImportsBackInEitherForm)
{
    db.trade({.id = 41, .time = QTime(15, 45, 10), .quantity = 1500, .price = 12.75})
        .selected({.report = kReport, .trade = 41, .reference = 1});
    openSelection();
    const QString exported = path(QStringLiteral("export.xls"));
    SelectionExport(rows).write(SelectionExport::sheetTitle(), exported);
    CellBlock stored = SelectionExport(rows).values();
    stored.at(2, 1) = Cell::date(kDay);
    stored.at(2, 2) = Cell::serial(Cell::Kind::Time, (15 * 3600 + 45 * 60 + 10) / 86400.0);
    stored.at(2, 3) = Cell::text(QStringLiteral("'+01"));
    stored.at(2, 8) = Cell::number(12.75);
    stored.at(2, 11) = Cell::number(1500);
    writeWorkbook(path(QStringLiteral("stored.xlsx")), {SheetContent{QStringLiteral("ZTFI Export"), stored}});

    const std::string expected = "1|02.03.2026|02.03.2026 15:45:10|+01|B|P|SI0000000011|DELA|12.75|C|EUR|1500|XLJU|MIC|||"
                             "XLJU|MIC||41|1|";
    for (const QString& file : {exported, path(QStringLiteral("stored.xlsx"))}) {
        SCOPED_TRACE(file.toStdString());
        db.exec(QStringLiteral("DELETE FROM DPATVPIMP"));
        ui.answerOkCancel(true);
        EXPECT_TRUE(run(file).complete);
        EXPECT_EQ(imported(), expected);
    }
}

// A sheet of 100,000 rows is read in seconds only when neither look-up of a row scans a table.
TEST_F(TransactionImportTest, TheLookUpsOfARowSearchAnIndex)
{
    EXPECT_EQ(queryPlan(db.connection(), TransactionImport::instrumentStatement()),
              QStringList({"SEARCH SFVP USING INDEX SFVP_KRT (KRT=?)"}));
    EXPECT_EQ(queryPlan(db.connection(), TransactionImport::referenceStatement()),
              QStringList({"SEARCH DPATVPIMP USING INDEX DPATVPIMP_REFSTTRANSA (REFSTTRANSA=?)"}));
}

TEST_F(TransactionImportTest, TheSameSheetTwiceUpdatesTheRowsItImportedFirst)
{
    ui.answerOkCancel(true);
    run(sheet({trade(11), trade(12)}));
    QStringList changed = trade(12);
    changed[7] = QStringLiteral("13,25");
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sheet({trade(11), changed}));

    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT IDIMP, REFSTTRANSA, CENA FROM DPATVPIMP ORDER BY IDIMP")),
              QStringList({"1|11|12.5", "2|12|13.25"}));
    EXPECT_EQ(auditKinds(), QStringList({"+", "+", "^", "^"}));
}

TEST_F(TransactionImportTest, AnInstrumentWithoutIsinIsFoundByItsShortNameAlone)
{
    db.instrument({.id = 7, .isin = QString(), .shortName = QStringLiteral("OPC1"), .cfi = QStringLiteral("OCASPS")});
    QStringList row = trade(11);
    row[5] = QStringLiteral("N");
    row[6] = QStringLiteral("OPC1");
    ui.answerOkCancel(true);

    run(sheet({row}));

    EXPECT_EQ(db.texts(QStringLiteral("SELECT ISIN, INTINDINSTR, VAL FROM DPATVPIMP")), QStringList({"N|7|EUR"}));
}

// A transaction reported earlier and imported again as a cancellation leaves its report, so
// that the next report carries the cancellation.
TEST_F(TransactionImportTest, ACancellationOfAReportedTransactionLeavesItsReport)
{
    ui.answerOkCancel(true);
    run(sheet({trade(11), trade(12)}));
    db.exec(QStringLiteral("UPDATE DPATVPIMP SET DPATVPID = 5"));
    QStringList cancelled = trade(11);
    cancelled[17] = QStringLiteral("C");
    ui.answerOkCancel(true);

    run(sheet({cancelled, trade(12)}));

    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA, RAZTRANSA, DPATVPID FROM DPATVPIMP ORDER BY IDIMP")),
              QStringList({"11|C|", "12||5"}));
}

TEST_F(TransactionImportTest, NothingIsImportedOrAskedWhenRowTwoHasNoDay)
{
    QStringList noDay = trade(11);
    noDay[0] = QString();

    const ImportOutcome outcome = run(sheet({noDay, trade(12)}));

    EXPECT_TRUE(outcome.complete);
    EXPECT_TRUE(ui.calls().empty());
    EXPECT_EQ(imported(), "");
}

TEST_F(TransactionImportTest, AFirstRowOfAnotherDayOrACancelledConfirmationImportsNothing)
{
    const ImportOutcome otherDay = run(sheet({trade(11, QStringLiteral("03.03.2026")), trade(12)}));
    EXPECT_FALSE(otherDay.complete);
    EXPECT_EQ(ui.messages(), QStringList({"Datum v Excelu ne ustreza izbranemu dnevu 02.03.2026 !"}));

    ui.answerOkCancel(false);
    EXPECT_FALSE(run(sheet({trade(11), trade(12)})).complete);
    EXPECT_EQ(imported(), "");
}

TEST_F(TransactionImportTest, ALaterRowOfAnotherDayInterruptsTheImportAndKeepsTheRowsBeforeIt)
{
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sheet({trade(11), trade(12, QStringLiteral("03.03.2026")), trade(13)}));

    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(ui.texts(QStringLiteral("warn")),
              QStringList({"Datum v Excelu 03.03.2026 ne ustreza izbranemu dnevu 02.03.2026 !\n\rNapaka v 3. vrstici."
                           "\n\r\n\rPrekinjen import!"}));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP")), QStringList({"11"}));
}

TEST_F(TransactionImportTest, AnUnknownInstrumentAbortsOrIsListedAndSkipped)
{
    QStringList unknown = trade(12);
    unknown[5] = QStringLiteral("XS0000000099");
    unknown[6] = QStringLiteral("NIC");
    const QString question = QStringLiteral("Vrednostni papir za isin XS0000000099 in kratico NIC v šifrantu VP ne obstaja!");

    ui.answerOkCancel(true);
    ui.answerAbortIgnore(Interaction::AbortIgnore::Abort);
    const ImportOutcome aborted = run(sheet({trade(11), unknown, trade(13)}));
    EXPECT_TRUE(aborted.aborted);
    EXPECT_FALSE(aborted.complete);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP")), QStringList({"11"}));

    ui.answerOkCancel(true);
    ui.answerAbortIgnore(Interaction::AbortIgnore::Ignore);
    const ImportOutcome ignored = run(sheet({trade(11), unknown, trade(13)}));
    EXPECT_TRUE(ignored.complete);
    EXPECT_EQ(ignored.errors,
              QStringLiteral("\r\nZa ISIN \"XS0000000099\" in kratico \"NIC\" ne najdem ustreznega fin. instrumenta!"));
    EXPECT_EQ(ui.texts(QStringLiteral("askAbortIgnore")), QStringList({question, question}));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP ORDER BY IDIMP")), QStringList({"11", "13"}));
}

// A row that cannot be read is listed with its number; every other row is imported.
TEST_F(TransactionImportTest, RowsWithUnreadableValuesOrWithoutReferenceAreListedAndTheOthersKept)
{
    QStringList badPrice = trade(12);
    badPrice[7] = QStringLiteral("dvanajst");
    QStringList noReference = trade(0);
    noReference[18] = QString();
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sheet({trade(11), badPrice, noReference, trade(14)}));

    EXPECT_EQ(outcome.errors, QStringLiteral("\r\nNapaka v 3. vrstici. 'dvanajst' is not a valid floating point value"
                                             "\r\nNapaka v 4. vrstici. Manjka referenčna številka transakcije."));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP ORDER BY IDIMP")), QStringList({"11", "14"}));
}

TEST_F(TransactionImportTest, AFileThatIsNotAWorkbookIsRefusedWithItsNameAndWritesNothing)
{
    const QString text = path(QStringLiteral("notes.xls"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Datum transakcije;Cas\n02.03.2026;09:30\n");
    file.close();
    const QString good = sheet({trade(11)});
    QFile whole(good);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile truncated(path(QStringLiteral("truncated.xls")));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(bytes.left(bytes.size() / 2));
    truncated.close();

    for (const QString& name : {text, path(QStringLiteral("truncated.xls"))}) {
        SCOPED_TRACE(name.toStdString());
        try {
            run(name);
            ADD_FAILURE() << "a damaged file was read";
        } catch (const ZtfiError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Napaka pri branju datoteke ") + name + ": "))
                << e.message().toStdString();
        }
    }
    EXPECT_TRUE(ui.calls().empty());
    EXPECT_EQ(imported(), "");
}

TEST_F(TransactionImportTest, BrisanjeNaboraDeletesOnlyTheUnreportedRowsOfTheDay)
{
    ui.answerOkCancel(true);
    run(sheet({trade(11), trade(12), trade(13)}));
    db.exec(QStringLiteral("UPDATE DPATVPIMP SET DPATVPID = 5 WHERE REFSTTRANSA = 12"));
    db.exec(QStringLiteral("UPDATE DPATVPIMP SET DATUM = DATUM + 1 WHERE REFSTTRANSA = 13"));
    ImportList list(db.connection());
    EXPECT_FALSE(list.brisanjeNabora(ui, kDay));  // the list is not open: nothing is asked
    list.nabor(kDay);
    ui.clearCalls();
    ui.answerOkCancel(true);

    EXPECT_TRUE(list.brisanjeNabora(ui, kDay));

    EXPECT_EQ(ui.texts(QStringLiteral("confirmOkCancel")),
              QStringList({"Prosim potrdi brisanje vseh importiranih na dan 02.03.2026!"}));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP ORDER BY IDIMP")), QStringList({"12", "13"}));
    EXPECT_EQ(list.table().recordCount(), 1);
}

// The list shows the instrument data only for an option or future without an ISIN.
TEST_F(TransactionImportTest, TheListShowsInstrumentDataOfDerivativesWithoutIsin)
{
    db.instrument({.id = 7, .isin = QString(), .shortName = QStringLiteral("OPC1"), .cfi = QStringLiteral("OCASPS"),
                   .strikePrice = 25.5})
        .listing({.id = 7, .instrument = 7});
    QStringList option = trade(12);
    option[5] = QStringLiteral("N");
    option[6] = QStringLiteral("OPC1");
    ui.answerOkCancel(true);
    run(sheet({trade(11), option}));
    ImportList list(db.connection());

    list.nabor(kDay);

    TDMFilter& table = list.table();
    ASSERT_EQ(table.recordCount(), 2);
    QStringList shown;
    for (table.first(); !table.eof(); table.next())
        shown.append(QStringList({table.fieldByName(QStringLiteral("REFSTTRANSA")).asString(),
                                  table.fieldByName(QStringLiteral("Trg_MIC")).asString(),
                                  table.fieldByName(QStringLiteral("IZVCEN")).asString(),
                                  table.fieldByName(QStringLiteral("CFI")).asString(),
                                  table.fieldByName(QStringLiteral("KPN_GLV")).asString()})
                         .join(u'|'));
    EXPECT_EQ(shown.join(u'/').toStdString(), "11||||/12|XLJU|25,5|OCASPS|");
}

}  // namespace
