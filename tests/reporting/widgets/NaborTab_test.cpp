#include "app/widgets/TfZTFI.h"

#include "data/dataset/Queries.h"
#include "exchange/Workbook.h"
#include "ntrs/check/IsoCodes.h"
#include "ntrs/check/PeriodCheck.h"
#include "reporting/ReportRows.h"
#include "state/ZtfiApp.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QApplication>
#include <QColor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <memory>

using namespace fixture;

namespace {

const QDate kDay(2026, 3, 2);
const QDate kEarlier(2026, 2, 27);
const QColor kRed(255, 0, 0);
const QColor kGrey(128, 128, 128);

// The main window over a fixture database with the basic rows and instrument 1.
class NaborTabTest : public testing::Test {
protected:
    NaborTabTest() : fixture(db)
    {
        db.basics();
        db.instrument({}).listing({});
    }

    TfZTFI& window()
    {
        if (!window_) {
            fixture.writeIni();
            window_ = std::make_unique<TfZTFI>(fixture.app());
        }
        return *window_;
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = window().findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void setPeriod(const QDate& first, const QDate& last)
    {
        child<TPTypedEdit>("dtpDan")->setAsDate(first);
        child<TPTypedEdit>("dtpDanDo")->setAsDate(last);
    }

    int rowsShown(const char* grid) { return child<TFwwDBGrid>(grid)->model()->rowCount(); }

    static void leave(QWidget* edit)
    {
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    }

    // A trade of an earlier day, reported and then cancelled; the copy carries the given day.
    void reportedAndCancelled(qint64 id, const QDate& day)
    {
        Trade trade{.id = id, .day = day};
        db.trade(trade).cancellation({.trade = trade});
        db.selected({.report = 1, .trade = id, .reference = 50 + id});
    }

    FixtureDb db;
    FixtureApp fixture;
    std::unique_ptr<TfZTFI> window_;
};

TEST_F(NaborTabTest, NaborFillsBothGridsWithColoursAndEnablesGeneration)
{
    db.report({.id = 1, .reportDay = kEarlier, .sentAt = QDateTime(kEarlier, QTime(16, 0))});
    reportedAndCancelled(5, kDay);
    reportedAndCancelled(6, kEarlier);
    db.trade({.id = 7, .day = kDay});
    auto* bbGenXML = child<QPushButton>("bbGenXML");
    EXPECT_FALSE(bbGenXML->isEnabled());
    setPeriod(kDay, kDay);

    child<QPushButton>("bbNabor")->click();

    EXPECT_EQ(fixture.ui().calls(), std::vector<ScriptedInteraction::Call>());
    EXPECT_TRUE(bbGenXML->isEnabled());
    ASSERT_EQ(rowsShown("dbgDPATVPPSL"), 3);
    EXPECT_EQ(rowsShown("dbSifrantFinInstr"), 1);
    const TQueryDM& rows = sharedReportRows(fixture.app()).query();
    QAbstractItemModel* model = child<TFwwDBGrid>("dbgDPATVPPSL")->model();
    for (int row = 0; row < 3; ++row) {
        const qint64 trade = rows.valueAt(row, rows.fieldByName(QStringLiteral("IDPSL"))).toLongLong();
        const QVariant colour = model->index(row, 0).data(Qt::ForegroundRole);
        SCOPED_TRACE(trade);
        if (trade == 5)
            EXPECT_EQ(colour.value<QColor>(), kRed);
        else if (trade == 6)
            EXPECT_EQ(colour.value<QColor>(), kGrey);
        else
            EXPECT_FALSE(colour.isValid());
    }
}

TEST_F(NaborTabTest, OnlyCancellationsKeepGenerationDisabled)
{
    db.report({.id = 1, .reportDay = kEarlier, .sentAt = QDateTime(kEarlier, QTime(16, 0))});
    reportedAndCancelled(5, kEarlier);
    setPeriod(kDay, kDay);

    child<QPushButton>("bbNabor")->click();

    EXPECT_EQ(rowsShown("dbgDPATVPPSL"), 1);
    EXPECT_FALSE(child<QPushButton>("bbGenXML")->isEnabled());
    EXPECT_EQ(fixture.ui().messages(),
              QStringList{QStringLiteral("V naboru ni nobenih nestorniranih transakcij!\n"
                                         "Generiranje xml ni možno. XSD shema tega ne omogoča!")});
}

TEST_F(NaborTabTest, LeavingDatumDoUnchangedKeepsTheGridsChangingItEmptiesThem)
{
    db.trade({.id = 7, .day = kDay});
    setPeriod(kDay, kDay);
    child<QPushButton>("bbNabor")->click();
    auto* dtpDanDo = child<TPTypedEdit>("dtpDanDo");

    leave(dtpDanDo);
    EXPECT_EQ(rowsShown("dbgDPATVPPSL"), 1);
    EXPECT_EQ(rowsShown("dbSifrantFinInstr"), 1);

    dtpDanDo->setAsDate(kDay.addDays(1));
    leave(dtpDanDo);
    EXPECT_EQ(rowsShown("dbgDPATVPPSL"), 0);
    EXPECT_EQ(rowsShown("dbSifrantFinInstr"), 0);
    EXPECT_EQ(fixture.ui().calls(), std::vector<ScriptedInteraction::Call>());
}

TEST_F(NaborTabTest, BrisanjeNaboraEmptiesTheGrids)
{
    db.trade({.id = 7, .day = kDay});
    setPeriod(kDay, kDay);
    child<QPushButton>("bbNabor")->click();

    child<QPushButton>("BitBtn3")->click();

    EXPECT_EQ(rowsShown("dbgDPATVPPSL"), 0);
    EXPECT_EQ(rowsShown("dbSifrantFinInstr"), 0);
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVPPSL")).toInt(), 0);
}

// A pending choice of reporting instrument: the tab "Fin. instr." lists the pending rows in red
// and the tabs of the selection are hidden.
TEST_F(NaborTabTest, StopForAChoiceSwitchesToTheOverrides)
{
    db.instrument({.id = 2}).listing({.id = 2, .instrument = 2});
    db.trade({.id = 1, .day = kDay, .instrument = 1}).trade({.id = 2, .day = kDay, .instrument = 2});
    setPeriod(kDay, kDay);

    child<QPushButton>("bbNabor")->click();

    EXPECT_EQ(fixture.ui().messages(), QStringList{QStringLiteral("Izberi ustrezen finančni instrument za poročanje!")});
    auto* pcMain = child<QTabWidget>("pcMain");
    EXPECT_EQ(pcMain->currentWidget(), child<QWidget>("tsFinInstr"));
    for (int index = 0; index < pcMain->count(); ++index)
        EXPECT_EQ(pcMain->isTabVisible(index), index >= 4) << index;
    EXPECT_TRUE(child<QPushButton>("bNabor")->isHidden());
    QAbstractItemModel* model = child<TFwwDBGrid>("dbgDPATVP_SFVP")->model();
    ASSERT_EQ(model->rowCount(), 2);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(model->index(row, 0).data(Qt::ForegroundRole).value<QColor>(), kRed);
    EXPECT_EQ(rowsShown("dbgDPATVPPSL"), 0);
}

// Entering the tab lists the overrides; typing the start of an ISIN narrows the list.
TEST_F(NaborTabTest, OverrideListFollowsTheIsinField)
{
    db.exec(QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU, SFVP_OLD, DANSPR) VALUES "
                           "('SI0000000011', NULL, 1, NULL, 46000.5), ('XS0000000022', 2, 2, 9, 46000.6), "
                           "('XS0000000022', 9, 9, NULL, 46000.4)"));
    auto* pcMain = child<QTabWidget>("pcMain");
    pcMain->setCurrentWidget(child<QWidget>("tsFinInstr"));
    QAbstractItemModel* model = child<TFwwDBGrid>("dbgDPATVP_SFVP")->model();
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->rowCount(), 2);
    // The list keeps the engine's order: the rows are told apart by their ISIN.
    const int pending = model->index(0, 0).data().toString() == QStringLiteral("SI0000000011") ? 0 : 1;
    EXPECT_EQ(model->index(pending, 0).data().toString(), QStringLiteral("SI0000000011"));
    EXPECT_EQ(model->index(1 - pending, 0).data().toString(), QStringLiteral("XS0000000022"));
    EXPECT_EQ(model->index(pending, 0).data(Qt::ForegroundRole).value<QColor>(), kRed);
    EXPECT_EQ(model->index(1 - pending, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(192, 192, 192));

    auto* eISIN = child<QLineEdit>("eISIN");
    for (const QChar c : QStringLiteral("xs")) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(eISIN, &press);
        QKeyEvent release(QEvent::KeyRelease, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(eISIN, &release);
    }
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("XS0000000022"));
    EXPECT_EQ(fixture.ui().calls(), std::vector<ScriptedInteraction::Call>());
}

// An error escaping the selection is shown, and the window goes on working.
TEST_F(NaborTabTest, FailedSelectionIsShownAndTheWindowStaysUsable)
{
    db.trade({.id = 7, .day = kDay});
    db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON DPATVPPSL "
                           "BEGIN SELECT RAISE(ABORT, 'zavrnjeno'); END"));
    setPeriod(kDay, kDay);

    child<QPushButton>("bbNabor")->click();
    const QStringList errors = fixture.ui().texts(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 1)!zavrnjeno")))
        << errors[0].toStdString();

    db.exec(QStringLiteral("DROP TRIGGER refuse"));
    child<QPushButton>("bbNabor")->click();
    EXPECT_EQ(rowsShown("dbgDPATVPPSL"), 1);
    EXPECT_TRUE(child<QPushButton>("bbGenXML")->isEnabled());
}

// The offset of the reporting market at this moment, as the time-zone database has it.
TEST_F(NaborTabTest, TimeZoneButtonShowsTheCurrentOffset)
{
    const QDateTime now = QDateTime::currentDateTime();
    const int hours = QTimeZone("Europe/Ljubljana").offsetFromUtc(now) / 3600;
    child<QPushButton>("bTZInfo")->click();
    EXPECT_EQ(fixture.ui().messages(),
              QStringList{QStringLiteral("Časovni pas : +0%1").arg(hours)});
}

}  // namespace

namespace {

// "Izvoz nabora" before any selection refuses; after one it writes the chosen file and opens it.
TEST_F(NaborTabTest, IzvozNaboraWritesTheRowsOfTheSelectionAndOpensTheFile)
{
    db.trade({.id = 7, .day = kDay});
    child<QPushButton>("bbExportXLS")->click();
    EXPECT_EQ(fixture.ui().messages(), QStringList({"Nabor je prazen! Izvoz ni možen!"}));

    setPeriod(kDay, kDay);
    child<QPushButton>("bbNabor")->click();
    fixture.ui().clearCalls();
    const QString file = db.folder() + QStringLiteral("/nabor.xls");
    fixture.ui().answerFileToSave(file);
    child<QPushButton>("bbExportXLS")->click();

    EXPECT_EQ(fixture.ui().messages(), QStringList());
    EXPECT_EQ(fixture.ui().texts(QStringLiteral("openWithDefaultApplication")), QStringList({file}));
    EXPECT_EQ(Workbook::open(file).sheet(1).usedRows(), 2);
}

}  // namespace

TEST_F(NaborTabTest, PreveriNaborListsTheFindingsOfTheServiceAndAClickFindsTheirRow)
{
    // The default instrument's ISIN has a wrong check digit; trade 9 is in a currency that
    // breaks its format.
    db.currency({.id = 2, .iso = QStringLiteral("US1")});
    db.trade({.id = 7, .day = kDay}).trade({.id = 8, .day = kDay}).trade({.id = 9, .day = kDay, .currency = 2});
    auto* check = child<QPushButton>("bbPreveriNabor");
    EXPECT_FALSE(check->isEnabled());
    setPeriod(kDay, kDay);
    child<QPushButton>("bbNabor")->click();
    ASSERT_TRUE(check->isEnabled());

    check->click();

    auto* grid = child<TFwwDBGrid>("dbgPreveriNabor");
    EXPECT_TRUE(grid->isVisible() || !window().isVisible());
    QAbstractItemModel* model = grid->model();
    ASSERT_NE(model, nullptr);
    QStringList shown;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 5; ++column)
            cells << model->index(row, column).data().toString();
        shown << cells.join(QLatin1Char('|'));
    }
    QStringList expected;
    for (const CheckFinding& f : PeriodCheck(fixture.app(), IsoCodes::debianFolder()).run(kDay, kDay).findings)
        expected << QStringList{f.levelText(), f.reference, f.field, f.value, f.rule}.join(QLatin1Char('|'));
    EXPECT_EQ(shown, expected);
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown.first(), QStringLiteral("Napaka|9|Valuta|US1|ni formata 3(a)"));
    EXPECT_TRUE(fixture.ui().calls().empty());

    // A click on a finding moves the report rows to its transaction.
    const TQueryDM& rows = sharedReportRows(fixture.app()).query();
    const Field& reference = rows.fieldByName(QStringLiteral("RefStTransaC"));
    for (int row = 0; row < model->rowCount(); ++row) {
        emit grid->clicked(model->index(row, 2));
        EXPECT_EQ(rows.valueAt(rows.recNo(), reference).toString(), model->index(row, 1).data().toString());
        EXPECT_EQ(child<TFwwDBGrid>("dbgDPATVPPSL")->currentIndex().row(), rows.recNo());
    }

    // Without rows there is nothing to check.
    child<QPushButton>("BitBtn3")->click();
    EXPECT_FALSE(check->isEnabled());
}
