#include "app/widgets/TfZTFI.h"

#include "state/ZtfiApp.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace fixture;

namespace {

const QDate kDay(2026, 3, 2);
const QDateTime kSent(QDate(2026, 3, 3), QTime(9, 15));

// The main window over a fixture database with two reports of 2.3.2026: the rejected first
// report of set 1 (trade 11) and the unsent report of set 2.
class PorocilaTabTest : public testing::Test {
protected:
    PorocilaTabTest() : fixture(db)
    {
        db.basics();
        db.instrument({}).listing({});
        db.trade({.id = 11, .day = kDay}).selected({.report = 1, .trade = 11, .reference = 1});
        db.report({.id = 1, .serial = 1, .reportDay = kDay, .sentAt = kSent, .status = 2, .firstDay = kDay});
        db.report({.id = 2, .serial = 2, .reportDay = kDay, .firstDay = kDay});
        db.exec(QStringLiteral("UPDATE ztfi_sequence SET value=100 WHERE name='DPATVPPSL_SEQ'"));
        fixture.writeIni();
        window_ = std::make_unique<TfZTFI>(fixture.app());
        child<TPTypedEdit>("pteDanOd")->setAsDate(QDate(2026, 3, 1));
        child<TPTypedEdit>("pteDanDo")->setAsDate(QDate(2026, 3, 31));
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = window_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void enterRegister() { child<QTabWidget>("pcMain")->setCurrentWidget(child<QWidget>("tsPorocila")); }

    void selectRow(int row)
    {
        auto* grid = child<TFwwDBGrid>("dbPorocila");
        grid->selectionModel()->setCurrentIndex(grid->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // The grid's serial numbers, top to bottom.
    QStringList serials()
    {
        QAbstractItemModel* model = child<TFwwDBGrid>("dbPorocila")->model();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, 3).data().toString();
        return rows;
    }

    // The actions open: R regenerate, P confirm, Z reject, D delete.
    QString actions()
    {
        QString open;
        if (child<QPushButton>("bbReGeneriraj")->isEnabled())
            open += QLatin1Char('R');
        if (child<QAction>("pmPotrjeno")->isEnabled())
            open += QLatin1Char('P');
        if (child<QAction>("pmZavrnjeno")->isEnabled())
            open += QLatin1Char('Z');
        if (child<QPushButton>("BitBtn4")->isEnabled())
            open += QLatin1Char('D');
        return open;
    }

    FixtureDb db;
    FixtureApp fixture;
    std::unique_ptr<TfZTFI> window_;
};

TEST_F(PorocilaTabTest, EnteringTheTabListsTheRegisterAndTheRowDecidesTheActions)
{
    EXPECT_EQ(actions(), QString()) << "nothing listed yet";
    enterRegister();

    EXPECT_EQ(serials(), (QStringList{QStringLiteral("2"), QStringLiteral("1")}));
    QAbstractItemModel* model = child<TFwwDBGrid>("dbPorocila")->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ID za DPATVP"));
    EXPECT_EQ(model->index(1, 6).data().toString(), QStringLiteral("Zavrnjeno"));
    EXPECT_EQ(actions(), QStringLiteral("D")) << "the unsent report";
    selectRow(1);
    EXPECT_EQ(actions(), QStringLiteral("R")) << "the rejected report";

    // Leaving a date of the tab re-reads the list for the new range.
    auto* pteDanOd = child<TPTypedEdit>("pteDanOd");
    pteDanOd->setAsDate(kDay.addDays(1));
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(pteDanOd, &out);
    EXPECT_EQ(serials(), QStringList{});
    EXPECT_EQ(actions(), QString());
    EXPECT_EQ(fixture.ui().calls(), std::vector<ScriptedInteraction::Call>());
}

TEST_F(PorocilaTabTest, DeletingTheUnsentReportAsksAndRereadsTheList)
{
    enterRegister();
    fixture.ui().answerOkCancel(true);

    child<QPushButton>("BitBtn4")->click();

    EXPECT_EQ(fixture.ui().texts(QStringLiteral("confirmOkCancel")),
              QStringList{QStringLiteral("Prosim potrdi brisanje vseh pripadajočih podatkov !")});
    EXPECT_EQ(serials(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(actions(), QStringLiteral("R"));
}

// "Ponovno generiraj" opens the set's rows on "Nabor" for the report's day, ready to generate.
TEST_F(PorocilaTabTest, RegenerationShowsTheSetOnNabor)
{
    enterRegister();
    selectRow(1);

    child<QPushButton>("bbReGeneriraj")->click();

    EXPECT_EQ(fixture.ui().calls(), std::vector<ScriptedInteraction::Call>());
    EXPECT_EQ(child<QTabWidget>("pcMain")->currentWidget(), child<QWidget>("tsNabor"));
    EXPECT_EQ(child<TPTypedEdit>("dtpDan")->asDate(), kDay);
    EXPECT_EQ(child<TPTypedEdit>("dtpDanDo")->asDate(), kDay);
    EXPECT_TRUE(child<QPushButton>("bbGenXML")->isEnabled());
    EXPECT_EQ(child<TFwwDBGrid>("dbgDPATVPPSL")->model()->rowCount(), 1);
    EXPECT_EQ(child<TFwwDBGrid>("dbSifrantFinInstr")->model()->rowCount(), 1);
    EXPECT_TRUE(fixture.app().regeneration.active);
}

}  // namespace
