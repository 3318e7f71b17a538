#include "exchange/TransactionImport.h"

#include "core/Error.h"
#include "data/dataset/AuditTrail.h"
#include "data/engine/Connection.h"
#include "exchange/ImportList.h"
#include "exchange/ImportedReferences.h"
#include "exchange/SelectionExport.h"
#include "exchange/WorkbookWriter.h"
#include "ntrs/ReportWriterFixture.h"
#include "support/EngineStories.h"
#include "support/QueryPlan.h"
#include "support/SqlScript.h"
#include "support/ScriptedInteraction.h"

#include <QFile>
#include <QSqlQuery>
#include <QThread>

#include <future>
#include <thread>
#include <tuple>

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

class TransactionImportFixture : public ReportWriterFixture {
public:
    explicit TransactionImportFixture(Connection::Engine engine = Connection::Engine::Sqlite)
        : ReportWriterFixture(engine), import(db.connection(), SqlDialect::Oracle, audit, ui)
    {
    }

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

class TransactionImportTest : public TransactionImportFixture {};

// The import, its list and its deletion run on each engine.
class TransactionImportStory : public OnEachEngine<TransactionImportFixture> {};

TEST_P(TransactionImportStory, ASheetOfTextsIsImportedForItsDayAfterTheConfirmation)
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
    EXPECT_EQ(queryPlan(db.connection(), ImportedReferences::statement(3)),
              QStringList({"SEARCH DPATVPIMP USING INDEX DPATVPIMP_REFSTTRANSA (REFSTTRANSA=?)"}));
}

TEST_P(TransactionImportStory, TheSameSheetTwiceUpdatesTheRowsItImportedFirst)
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

// New rows go out in sets and reference numbers are looked up for many rows at once: a reference
// that an earlier row of the sheet wrote (in the set still open or in one written) or that an
// earlier import wrote is updated in place; identifiers and audit rows follow the sheet's order.
TEST_P(TransactionImportStory, ManyRowsFindTheRowsWrittenBeforeThemAndKeepTheSheetsOrder)
{
    ui.answerOkCancel(true);
    run(sheet({trade(9001)}));
    QList<QStringList> rows;
    for (int r = 1; r <= 450; ++r)
        rows << trade(r);
    const auto changed = [](qint64 reference, const char* price) {
        QStringList row = trade(reference);
        row[7] = QString::fromLatin1(price);
        return row;
    };
    rows[219] = changed(210, "14,5");   // its set still collecting
    rows[299] = changed(5, "13,25");    // a set written
    rows[449] = changed(9001, "15,75"); // the import before
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sheet(rows));

    EXPECT_EQ(outcome.written, 450);
    EXPECT_EQ(outcome.errors, QString());
    QStringList expectedRows{QStringLiteral("1|9001|15.75")};
    QStringList expectedAudit{QStringLiteral("+|1")};
    int id = 1;
    for (int r = 1; r <= 450; ++r) {
        if (r == 220) {
            expectedAudit << QStringLiteral("^|%1").arg(1 + 210);
        } else if (r == 300) {
            expectedAudit << QStringLiteral("^|%1").arg(1 + 5);
        } else if (r == 450) {
            expectedAudit << QStringLiteral("^|1");
        } else {
            ++id;
            const char* price = r == 210 ? "14.5" : r == 5 ? "13.25" : "12.5";
            expectedRows << QStringLiteral("%1|%2|%3").arg(id).arg(r).arg(QLatin1String(price));
            expectedAudit << QStringLiteral("+|%1").arg(id);
        }
    }
    EXPECT_EQ(db.texts(QStringLiteral("SELECT IDIMP, REFSTTRANSA, CENA FROM DPATVPIMP ORDER BY IDIMP")), expectedRows);
    QStringList audit;
    for (const QString& line : db.texts(QStringLiteral("SELECT SfAct, Cnt FROM ACT WHERE Tbl='DPATVPIMP' ORDER BY IdAct")))
        audit << line.section(QStringLiteral("#|"), 0, 0);
    EXPECT_EQ(audit, expectedAudit);
}

TEST_P(TransactionImportStory, AnInstrumentWithoutIsinIsFoundByItsShortNameAlone)
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
TEST_P(TransactionImportStory, ACancellationOfAReportedTransactionLeavesItsReport)
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
    EXPECT_EQ(outcome.errors,
              QStringLiteral("\r\nVrstice 2 do 3 niso prebrane: branje se konča pri vrstici 2, ki v stolpcu A nima datuma."));
    EXPECT_EQ(outcome.unread, 2);
}

// The rows below a blank line are not read; each is named by its sheet row number.
TEST_F(TransactionImportTest, RowsBelowABlankLineAreNamedAsUnread)
{
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sheet({trade(11), {}, trade(13), trade(14), {}, {}, trade(17)}));

    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(outcome.unread, 3);
    EXPECT_EQ(outcome.errors,
              QStringLiteral("\r\nVrstice 4 do 5 niso prebrane: branje se konča pri vrstici 3, ki v stolpcu A nima datuma."
                             "\r\nVrstica 8 ni prebrana: branje se konča pri vrstici 3, ki v stolpcu A nima datuma."));
    EXPECT_EQ(TransactionImport::summary(outcome), QStringLiteral("Zapisanih vrstic: 1, zavrnjenih: 0, neprebranih: 3."));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP")), QStringList({"11"}));
}

// A value that does not fit its column lists its row with the reason; nothing of the row is
// written, the other rows are.
TEST_F(TransactionImportTest, ValuesThatDoNotFitTheirColumnsAreListedAndNotWritten)
{
    const std::vector<std::tuple<int, QString, QString>> cases = {
        {2, QStringLiteral("+0100"), QStringLiteral("Časovni pas: vrednost je daljša od dovoljene (dolžina 5, največ 3).")},
        {13, QStringLiteral("000000000123"), QStringLiteral("Klient: vrednost je daljša od dovoljene (dolžina 12, največ 11).")},
        {11, QStringLiteral("CPTY\u0001SI"), QStringLiteral("Nasprotna stranka: vrednost vsebuje nedovoljen kontrolni znak.")},
        {9, QStringLiteral("EURO"), QStringLiteral("Valuta: vrednost je daljša od dovoljene (dolžina 4, največ 3).")},
        {18, QStringLiteral("-5"), QStringLiteral("Referenčna številka transakcije: vrednost -5 ni pozitivno celo število.")},
        {10, QStringLiteral("-3"), QStringLiteral("Količina: vrednost -3 ni med 0 in 999.999.999.999.999.")},
        {10, QStringLiteral("nan"), QStringLiteral("Količina: vrednost nan ni med 0 in 999.999.999.999.999.")},
        {7, QStringLiteral("1e308"), QStringLiteral("Cena enote: vrednost 1e+308 ni med 0 in 999.999.999.999.999.")},
        {1, QStringLiteral("-0,25"), QStringLiteral("Čas transakcije: \"-0,25\" ni čas.")},
    };
    QList<QStringList> rows = {trade(1)};
    for (const auto& [column, value, reason] : cases) {
        QStringList row = trade(rows.size() + 1);
        row[column] = value;
        rows.append(row);
    }
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sheet(rows));

    QString expected;
    for (size_t i = 0; i < cases.size(); ++i)
        expected += QStringLiteral("\r\nNapaka v %1. vrstici. ").arg(i + 3) + std::get<2>(cases[i]);
    EXPECT_EQ(outcome.errors, expected);
    EXPECT_EQ(outcome.listed, int(cases.size()));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP")), QStringList({"1"}));
    EXPECT_EQ(auditKinds(), QStringList({"+"}));
}

// A workbook that a spreadsheet program saved with formulas for the day, time, short name,
// price, quantity and reference: their values are imported; a price dividing by zero is listed.
TEST_F(TransactionImportTest, FormulaCellsOfASavedWorkbookImportTheirValues)
{
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sourcePath(QStringLiteral("tests/exchange/fixtures/formulas.xls")));

    EXPECT_EQ(imported(),
              "1|02.03.2026|02.03.2026 09:30:15|+02|B|A|SI0000000011|DELA|12.5|C|EUR|1500|CPTYSI22|BIC|0000000123|"
              "Internal|XLJU|MIC||11|1|");
    EXPECT_EQ(outcome.errors, QStringLiteral("\r\nNapaka v 3. vrstici. Cena enote: \"#DIV/0!\" ni število."));
}

// Two imports of one database at once run one after the other: the second waits for the write
// transaction of the first (here another desk's, holding a row of its own) and takes its first
// identifier after the first's rows.
TEST_F(TransactionImportTest, TwoImportsAtOnceRunOneAfterTheOther)
{
    const QString file = sheet({trade(11), trade(12)});
    std::promise<void> locked;
    std::thread otherDesk([&] {
        std::unique_ptr<Connection> other = Connection::open(db.folder(), FixtureDb::alias(), QString(), QString());
        other->startWriteTransaction();
        QSqlQuery insert(other->database());
        insert.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, REFSTTRANSA) VALUES (1, 46083, 99)"));
        locked.set_value();
        QThread::msleep(700);
        other->commit();
    });
    locked.get_future().wait();
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(file);
    otherDesk.join();

    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT IDIMP, REFSTTRANSA FROM DPATVPIMP ORDER BY IDIMP")),
              QStringList({"1|99", "2|11", "3|12"}));
}

// An insert that fails leaves no audit row of a row that is not there; the rows before it stay
// with theirs.
// The refused row ends the import at that row: a later row of another day or of an unknown
// instrument is neither warned of nor asked about.
TEST_F(TransactionImportTest, AFailedInsertLeavesNoAuditRowAndEndsTheImportAtItsRow)
{
    db.refuse(QStringLiteral("no12"), QStringLiteral("BEFORE INSERT ON DPATVPIMP"), QStringLiteral("NEW.REFSTTRANSA = 12"),
              QStringLiteral("vrstica 12 odklonjena"));
    QStringList unknown = trade(13);
    unknown[5] = QStringLiteral("XS0000000099");
    unknown[6] = QStringLiteral("NIC");
    const QList<QStringList> followers = {trade(13), trade(13, QStringLiteral("03.03.2026")), unknown};
    for (const QStringList& follower : followers) {
        SCOPED_TRACE(follower.join(u' ').toStdString());
        db.exec(QStringLiteral("DELETE FROM DPATVPIMP"));
        db.exec(QStringLiteral("DELETE FROM ACT"));
        ui.clearCalls();
        ui.answerOkCancel(true);

        EXPECT_THROW(run(sheet({trade(11), trade(12), follower})), ZtfiError);

        EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP")), QStringList({"11"}));
        EXPECT_EQ(auditKinds(), QStringList({"+"}));
        EXPECT_EQ(ui.texts(QStringLiteral("warn")), QStringList());
        EXPECT_EQ(ui.texts(QStringLiteral("askAbortIgnore")), QStringList());
    }
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

TEST_P(TransactionImportStory, ALaterRowOfAnotherDayInterruptsTheImportAndKeepsTheRowsBeforeIt)
{
    ui.answerOkCancel(true);

    const ImportOutcome outcome = run(sheet({trade(11), trade(12, QStringLiteral("03.03.2026")), trade(13)}));

    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(ui.texts(QStringLiteral("warn")),
              QStringList({"Datum v Excelu 03.03.2026 ne ustreza izbranemu dnevu 02.03.2026 !\n\rNapaka v 3. vrstici."
                           "\n\r\n\rPrekinjen import!"}));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT REFSTTRANSA FROM DPATVPIMP")), QStringList({"11"}));
}

TEST_P(TransactionImportStory, AnUnknownInstrumentAbortsOrIsListedAndSkipped)
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

    EXPECT_EQ(outcome.errors, QStringLiteral("\r\nNapaka v 3. vrstici. Cena enote: \"dvanajst\" ni število."
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

TEST_P(TransactionImportStory, BrisanjeNaboraDeletesOnlyTheUnreportedRowsOfTheDay)
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
TEST_P(TransactionImportStory, TheListShowsInstrumentDataOfDerivativesWithoutIsin)
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

INSTANTIATE_ENGINE_STORIES(TransactionImportStory);

}  // namespace
