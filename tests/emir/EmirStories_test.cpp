#include "core/Error.h"
#include "emir/EmirDisputeEditor.h"
#include "emir/EmirDisputeImport.h"
#include "emir/EmirRegistry.h"
#include "emir/EmirReportEditor.h"
#include "exchange/WorkbookWriter.h"
#include "support/EngineStories.h"
#include "support/FixtureDb.h"
#include "support/ScriptedInteraction.h"

#include <QDir>

namespace {

// The EMIR registry, its dialogs' writes and the import of disputes, on each engine.
class EmirStoryTest : public EngineStoryTest {
protected:
    QStringList reports()
    {
        return db.texts(QStringLiteral("SELECT ZapSt || '|' || Preklicano || '|' || TO_CHAR(DanOd, 'dd.mm.yyyy') || '|' "
                                       "|| NVL(TO_CHAR(EMIRPorociloStnId), '-') FROM EMIRPOROCILO ORDER BY ZapSt"));
    }
    QStringList disputes()
    {
        return db.texts(QStringLiteral("SELECT EMIRPorociloId || '|' || Stranka || '|' || TO_CHAR(DatZacetka, "
                                       "'dd.mm.yyyy') || '|' || NVL(TO_CHAR(DatZakljucka, 'dd.mm.yyyy'), '-') || '|' "
                                       "|| TO_CHAR(Vrednost) FROM EMIRPOSEL ORDER BY EMIRPoselId"));
    }

    FixtureDb db{storyEngine()};
    ScriptedInteraction ui;
};

TEST_P(EmirStoryTest, AReportIsAddedFilledCancelledAndItsCancellationDeleted)
{
    EmirReportEditor reportEditor(db.connection(), SqlDialect::Oracle);
    EmirReportValues values = EmirReportEditor::newReport(QDate(2024, 5, 10));
    const qint64 first = reportEditor.save(values, 0);
    const qint64 second = reportEditor.save(values, 0);
    EXPECT_EQ(reports(), (QStringList{"1|N|01.05.2024|-", "2|N|01.05.2024|-"}));

    EmirDisputeEditor disputeEditor(db.connection(), SqlDialect::Oracle, first);
    disputeEditor.save({.party = QStringLiteral("Stranka"), .counterparty = QStringLiteral("Banka"),
                        .firstDay = QDate(2024, 5, 2), .amount = 1234.5},
                       0);
    CellBlock sheet(3, 6);
    for (int c = 1; c <= 6; ++c)
        sheet.at(1, c) = Cell::text(QStringLiteral("H%1").arg(c));
    sheet.at(2, 1) = Cell::text(QStringLiteral("Kovač d.o.o."));
    sheet.at(2, 2) = Cell::text(QStringLiteral("Banka"));
    sheet.at(2, 3) = Cell::text(QStringLiteral("05.05.2024"));
    sheet.at(2, 4) = Cell::date(QDate(2024, 5, 9));
    sheet.at(2, 5) = Cell::text(QStringLiteral("7,25"));
    sheet.at(3, 1) = Cell::text(QStringLiteral("D"));
    sheet.at(3, 2) = Cell::text(QStringLiteral("E"));
    sheet.at(3, 3) = Cell::date(QDate(2024, 5, 6));
    const QString file = QDir(db.folder()).filePath(QStringLiteral("spori.xlsx"));
    writeWorkbook(file, {{QStringLiteral("Spori"), sheet}});
    EXPECT_EQ(EmirDisputeImport(db.connection(), SqlDialect::Oracle, ui).importFile(file, first), 2);
    EXPECT_EQ(disputes(), (QStringList{"1|Stranka|02.05.2024|-|1234.5", "1|Kovač d.o.o.|05.05.2024|09.05.2024|7.25",
                                       "1|D|06.05.2024|-|0"}));

    EmirRegistry registry(db.connection(), SqlDialect::Oracle);
    registry.setPeriod(QDate(2024, 1, 1), QDate(2024, 12, 31));
    registry.reloadReports(first);
    ui.answerYesNo(true);
    const std::optional<qint64> cancelling = registry.cancelReport(ui);
    ASSERT_TRUE(cancelling);
    EXPECT_EQ(reports(), (QStringList{"1|D|01.05.2024|-", "2|N|01.05.2024|-",
                                      QStringLiteral("3|N|01.05.2024|%1").arg(first)}));
    EXPECT_EQ(registry.currentReport()->cancelsSerial, 1);

    ui.answerYesNo(true);
    EXPECT_TRUE(registry.deleteReport(ui));
    EXPECT_EQ(reports(), (QStringList{"1|N|01.05.2024|-", "2|N|01.05.2024|-"}));
    registry.reloadReports(second);
    ui.answerYesNo(true);
    EXPECT_TRUE(registry.deleteReport(ui));
    EXPECT_EQ(reports(), QStringList{"1|N|01.05.2024|-"});
    EXPECT_EQ(disputes(), (QStringList{"1|Stranka|02.05.2024|-|1234.5", "1|Kovač d.o.o.|05.05.2024|09.05.2024|7.25",
                                       "1|D|06.05.2024|-|0"}))
        << "the disputes of the report that stays";
}

INSTANTIATE_ENGINE_STORIES(EmirStoryTest);

}  // namespace
