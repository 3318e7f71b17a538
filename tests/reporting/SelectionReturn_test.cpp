#include "reporting/SelectionReturn.h"

#include "data/dataset/Queries.h"
#include "instruments/CodeList.h"
#include "instruments/InstrumentChoice.h"
#include "instruments/OverrideList.h"
#include "ntrs/Regeneration.h"
#include "ntrs/Register.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "state/ZtfiApp.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

using namespace fixture;

namespace {

const QDate kDay(2026, 3, 2);
constexpr qint64 kRejected = 5;
constexpr qint64 kPending = 6;

// A rejected report of two days (trades 1 and 2) and a pending selection of its last day
// (trade 3), each of another instrument.
class SelectionReturnTest : public testing::Test {
protected:
    SelectionReturnTest() : fixture(db)
    {
        db.basics();
        for (int id : {1, 2, 3}) {
            db.instrument({.id = id, .isin = QStringLiteral("SI000000000%1").arg(id)})
                .listing({.id = id, .instrument = id});
        }
        db.report({.id = kRejected, .reportDay = kDay, .sentAt = QDateTime(kDay, QTime(16, 0)),
                   .status = 2, .firstDay = kDay.addDays(-1)});
        db.trade({.id = 1, .day = kDay.addDays(-1), .instrument = 1}).selected({.report = kRejected, .trade = 1});
        db.trade({.id = 2, .day = kDay, .instrument = 2}).selected({.report = kRejected, .trade = 2, .reference = 2});
        db.trade({.id = 3, .day = kDay, .instrument = 3}).selected({.report = kPending, .trade = 3, .reference = 3});
        fixture.writeIni();
    }

    std::set<qint64> shown(Dataset& rows, const char* field)
    {
        std::set<qint64> values;
        for (rows.first(); !rows.eof(); rows.next())
            values.insert(rows.fieldByName(QLatin1String(field)).asInteger());
        return values;
    }

    FixtureDb db;
    FixtureApp fixture;
};

// The choice ends a stopped selection: the pending selection of the tab's period is opened.
// The choice ends a stopped regeneration (the window's period is the report's last day): the
// regenerated report's own rows of its whole registered period are opened.
TEST_F(SelectionReturnTest, OpensThePendingSelectionOrTheRegeneratedSet)
{
    struct Case {
        bool regeneration;
        qint64 reportId;
        std::set<qint64> trades;
    };
    for (const Case& c : {Case{false, kPending, {3}}, Case{true, kRejected, {1, 2}}}) {
        SCOPED_TRACE(c.regeneration);
        ZtfiApp& app = fixture.started();
        app.selection.FMaxDpAtvpId = c.reportId;
        app.regeneration.active = c.regeneration;
        Selection selection(app);

        EXPECT_TRUE(SelectionReturn(app, selection).bNaborClick(kDay, kDay));

        EXPECT_EQ(shown(sharedReportRows(app).query(), "IdPsl"), c.trades);
        EXPECT_EQ(shown(sharedCodeList(app).query(), "IntIdent"), c.trades);
        EXPECT_EQ(fixture.ui().messages(), QStringList());
    }
}

// A regeneration that stopped for a choice (its two instruments carry one ISIN): once both
// rows are chosen, the return shows the regenerated report's rows, not the pending selection.
TEST_F(SelectionReturnTest, ReturnAfterAStoppedRegenerationShowsTheRegeneratedSet)
{
    db.exec(QStringLiteral("UPDATE SFVP SET ISIN = 'SI0000000001' WHERE SFVP = 2"));
    ZtfiApp& app = fixture.started();
    RegisterRow rejected;
    rejected.id = kRejected;
    rejected.serial = 1;
    rejected.reportDay = kDay;
    rejected.sentAt = QDateTime(kDay, QTime(16, 0));
    rejected.firstDay = kDay.addDays(-1);
    rejected.status = 2;
    const RegenerationOutcome outcome = Regeneration(app).bbReGenerirajClick(rejected);
    ASSERT_TRUE(outcome.stop);
    ASSERT_TRUE(app.regeneration.active);

    OverrideList& list = sharedOverrideList(app);
    InstrumentChoice choice(app.connection(), app.dialect(), app.auditTrail(), app.params().auditUser);
    for (int round = 0; round < 2; ++round) {
        list.open(QString());
        ASSERT_FALSE(list.returnButtonVisible());
        const auto row = choice.rowOfIsin(QStringLiteral("SI0000000001"));
        ASSERT_TRUE(row);
        EXPECT_TRUE(choice.choose(*row, 1, kDay));
    }
    list.open(QString());
    EXPECT_TRUE(list.returnButtonVisible());

    Selection selection(app);
    EXPECT_TRUE(SelectionReturn(app, selection).bNaborClick(outcome.selectionDay, outcome.selectionDay));
    EXPECT_EQ(shown(sharedReportRows(app).query(), "IdPsl"), (std::set<qint64>{1, 2}));
    EXPECT_EQ(shown(sharedCodeList(app).query(), "IntIdent"), std::set<qint64>{1});
}

// Only cancellations: the generation stays refused, with the selection's message.
TEST_F(SelectionReturnTest, OnlyCancellationsRefuseTheGeneration)
{
    db.exec(QStringLiteral("UPDATE DPATVPPSL SET ISSTN = 'D'"));
    for (int id : {1, 2})
        db.cancellation({.trade = {.id = id, .day = kDay, .instrument = id}});
    ZtfiApp& app = fixture.started();
    app.selection.FMaxDpAtvpId = kRejected;
    app.regeneration.active = true;
    Selection selection(app);

    EXPECT_FALSE(SelectionReturn(app, selection).bNaborClick(kDay, kDay));
    EXPECT_EQ(sharedReportRows(app).query().recordCount(), 2);
    EXPECT_EQ(fixture.ui().messages(), QStringList{Selection::noRegularRowsMessage()});
}

}  // namespace
