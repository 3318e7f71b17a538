#include "app/widgets/TfZTFI.h"

#include "core/Error.h"
#include "emir/EmirFixture.h"
#include "emir/widgets/TfrmEMIRPslDlg.h"
#include "emir/widgets/TfrmEmirRptDlg.h"
#include "state/ZtfiApp.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace emirfixture;

namespace {

const QDate kMonth = QDate(QDate::currentDate().year(), QDate::currentDate().month(), 1);

// The main window over two reports of the current month: the open report 1 with one dispute and
// the cancelled report 2.
class EMIRTabTest : public testing::Test {
protected:
    EMIRTabTest() : fixture(db)
    {
        add(db, Report{.id = 1, .serial = 1, .firstDay = kMonth, .lastDay = kMonth.addDays(5)});
        add(db, Report{.id = 2, .serial = 2, .firstDay = kMonth, .lastDay = kMonth.addDays(5),
                       .cancelled = QStringLiteral("D")});
        add(db, Dispute{.id = 1, .report = 1});
        db.exec(QStringLiteral("UPDATE ztfi_sequence SET value = 1 WHERE name = 'EMIRPOSEL_ID_SEQ'"));
        fixture.writeIni();
        window_ = std::make_unique<TfZTFI>(fixture.app());
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = window_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void select(const char* gridName, int row)
    {
        auto* grid = child<TFwwDBGrid>(gridName);
        grid->selectionModel()->setCurrentIndex(grid->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // The enabled actions, by the initials of their names.
    QString open()
    {
        QStringList on;
        for (const char* name : {"actAddRpt", "actEditRpt", "actDeleteRpt", "actCancel", "actRefresh", "actEMIRXML",
                                 "actImportXLS", "actAddPsl", "actEditPsl", "actDeletePsl"}) {
            if (child<QAction>(name)->isEnabled())
                on << QLatin1String(name).mid(3);
        }
        return on.join(QLatin1Char(' '));
    }

    int rows(const char* gridName) { return child<TFwwDBGrid>(gridName)->model()->rowCount(); }

    FixtureDb db;
    FixtureApp fixture;
    std::unique_ptr<TfZTFI> window_;
};

TEST_F(EMIRTabTest, TheActionsFollowTheCurrentReportAndDispute)
{
    EXPECT_EQ(open(), QStringLiteral("AddRpt Refresh")) << "nothing listed yet";
    child<QTabWidget>("pcMain")->setCurrentWidget(child<QWidget>("tsEMIR"));
    EXPECT_EQ(child<TPTypedEdit>("pteEMIRDatOd")->asDate(), kMonth);
    EXPECT_EQ(child<TPTypedEdit>("pteEMIRDatDo")->asDate(), QDate::currentDate());
    ASSERT_EQ(rows("dbgEMIRPorocila"), 2);
    EXPECT_EQ(rows("dbgEMIRPsl"), 1);
    EXPECT_EQ(open(), QStringLiteral("AddRpt EditRpt DeleteRpt Cancel Refresh EMIRXML ImportXLS AddPsl EditPsl DeletePsl"));

    // The cancelled report: only its file; its dispute list follows it.
    select("dbgEMIRPorocila", 1);
    EXPECT_EQ(rows("dbgEMIRPsl"), 0);
    EXPECT_EQ(open(), QStringLiteral("AddRpt Refresh EMIRXML"));
    select("dbgEMIRPorocila", 0);
    EXPECT_EQ(rows("dbgEMIRPsl"), 1);
    EXPECT_TRUE(child<QAction>("actDeletePsl")->isEnabled());

    // Deleting the only dispute leaves nothing to change or delete.
    fixture.ui().answerYesNo(true);
    child<QAction>("actDeletePsl")->trigger();
    EXPECT_EQ(rows("dbgEMIRPsl"), 0);
    EXPECT_EQ(open(), QStringLiteral("AddRpt EditRpt DeleteRpt Cancel Refresh EMIRXML ImportXLS AddPsl"));

    // Typing into a filter date closes both lists until the next reload.
    auto* from = child<TPTypedEdit>("pteEMIRDatOd");
    from->setAsDate(kMonth.addDays(1));
    EXPECT_EQ(rows("dbgEMIRPorocila"), 0);
    EXPECT_EQ(open(), QStringLiteral("AddRpt Refresh"));
    child<QAction>("actRefresh")->trigger();
    EXPECT_EQ(rows("dbgEMIRPorocila"), 0);
    from->setAsDate(kMonth);
    child<QAction>("actRefresh")->trigger();
    EXPECT_EQ(rows("dbgEMIRPorocila"), 2);
    EXPECT_EQ(fixture.ui().messages(), QStringList{});
}

TEST_F(EMIRTabTest, TheDialogsCheckInOrderFocusTheFieldAndWrite)
{
    ZtfiApp& app = fixture.app();
    TfrmEmirRptDlg report(app.connection(), app.dialect(), fixture.ui(), 1, window_.get());
    EXPECT_EQ(report.windowTitle(), QStringLiteral("EMIR poročilo"));
    EXPECT_EQ(report.findChild<TPTypedEdit*>(QStringLiteral("pteDanOd"))->asDate(), kMonth);
    EXPECT_FALSE(report.findChild<QCheckBox*>(QStringLiteral("cbPreklicano"))->isChecked());
    auto* unconfirmed = report.findChild<TPTypedEdit*>(QStringLiteral("pteStNepotrjenih"));
    unconfirmed->setAsInteger(-2);
    report.findChild<TPTypedEdit*>(QStringLiteral("pteDanDo"))->clearValue();
    report.btnZapisiClick();
    EXPECT_EQ(fixture.ui().messages(), QStringList{QStringLiteral("Neveljaven datum do.")});
    EXPECT_EQ(report.focusWidget(), report.findChild<QWidget*>(QStringLiteral("pteDanDo")));
    report.findChild<TPTypedEdit*>(QStringLiteral("pteDanDo"))->setAsDate(kMonth.addDays(9));
    report.btnZapisiClick();
    EXPECT_EQ(fixture.ui().messages().last(), QStringLiteral("Neveljavno število nepotrjenih transakcij."));
    EXPECT_EQ(report.focusWidget(), unconfirmed);
    unconfirmed->setAsInteger(0);
    report.btnZapisiClick();
    EXPECT_EQ(report.result(), QDialog::Accepted);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT ZapSt, StNepotrjenih, DanDo - DanOd FROM EMIRPOROCILO WHERE EMIRPorociloId = 1")),
              QStringList{QStringLiteral("1|0|9")});

    TfrmEMIRPslDlg dispute(app.connection(), app.dialect(), fixture.ui(), 0, 1, window_.get());
    EXPECT_EQ(dispute.windowTitle(), QStringLiteral("EMIR spor"));
    fixture.ui().clearCalls();
    dispute.findChild<QLineEdit*>(QStringLiteral("eStranka"))->setText(QStringLiteral("A"));
    dispute.findChild<QLineEdit*>(QStringLiteral("eNasStranka"))->setText(QStringLiteral(" "));
    dispute.btnZapisiClick();
    EXPECT_EQ(fixture.ui().messages(), QStringList{QStringLiteral("Neveljavna nasprotna stranka.")});
    EXPECT_EQ(dispute.focusWidget(), dispute.findChild<QWidget*>(QStringLiteral("eNasStranka")));
    dispute.findChild<QLineEdit*>(QStringLiteral("eNasStranka"))->setText(QStringLiteral("B"));
    dispute.findChild<TPTypedEdit*>(QStringLiteral("pteDatZacetka"))->setAsDate(kMonth.addDays(3));
    dispute.findChild<TPTypedEdit*>(QStringLiteral("pteDatZakljucka"))->setAsDate(kMonth.addDays(2));
    dispute.btnZapisiClick();
    EXPECT_EQ(fixture.ui().messages().last(), QStringLiteral("Datum začetka spora mora biti pred datumom zaključka spora."));
    dispute.findChild<TPTypedEdit*>(QStringLiteral("pteDatZakljucka"))->clearValue();
    dispute.findChild<TPTypedEdit*>(QStringLiteral("pteVrednost"))->setAsFloat(1234.5);
    dispute.btnZapisiClick();
    EXPECT_EQ(fixture.ui().messages().size(), 2) << fixture.ui().messages().join(QLatin1Char('/')).toStdString();
    EXPECT_EQ(dispute.result(), QDialog::Accepted);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT Stranka, NasStranka, DatZakljucka IS NULL, Vrednost FROM EMIRPOSEL WHERE EMIRPoselId = ")
                       + QString::number(dispute.id())),
              QStringList{QStringLiteral("A|B|1|1234.5")});

    try {
        TfrmEMIRPslDlg none(app.connection(), app.dialect(), fixture.ui(), 0, 0, window_.get());
        FAIL() << "a dispute dialog without a report";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Neveljaven ID poročila."));
    }
}

// Types text into an edit over its whole content, as the user does.
void typeInto(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

// A date that the calendar does not have (31.02.2026) is read as day zero, which is no date; an
// empty count of unconfirmed transactions is 0; a control character is refused.
TEST_F(EMIRTabTest, AnImpossibleDateIsNoDateAndAnEmptyCountIsZero)
{
    ZtfiApp& app = fixture.app();
    TfrmEmirRptDlg report(app.connection(), app.dialect(), fixture.ui(), 1, window_.get());
    auto* from = report.findChild<TPTypedEdit*>(QStringLiteral("pteDanOd"));
    typeInto(from, QStringLiteral("31022026"));
    report.btnZapisiClick();
    EXPECT_EQ(fixture.ui().messages(), QStringList{QStringLiteral("Neveljaven datum od.")});
    from->setAsDate(kMonth);
    report.findChild<TPTypedEdit*>(QStringLiteral("pteStNepotrjenih"))->clearValue();
    report.btnZapisiClick();
    EXPECT_EQ(report.result(), QDialog::Accepted);
    EXPECT_EQ(db.value(QStringLiteral("SELECT StNepotrjenih FROM EMIRPOROCILO WHERE EMIRPorociloId = 1")).toInt(), 0);

    TfrmEMIRPslDlg dispute(app.connection(), app.dialect(), fixture.ui(), 0, 1, window_.get());
    fixture.ui().clearCalls();
    dispute.findChild<QLineEdit*>(QStringLiteral("eStranka"))->setText(QStringLiteral("A"));
    dispute.findChild<QLineEdit*>(QStringLiteral("eNasStranka"))->setText(QStringLiteral("B"));
    dispute.findChild<TPTypedEdit*>(QStringLiteral("pteDatZacetka"))->setAsDate(kMonth.addDays(3));
    typeInto(dispute.findChild<TPTypedEdit*>(QStringLiteral("pteDatZakljucka")), QStringLiteral("31022026"));
    dispute.btnZapisiClick();
    EXPECT_EQ(fixture.ui().messages(), QStringList{QStringLiteral("Neveljaven datum zaključka spora.")});
    dispute.findChild<TPTypedEdit*>(QStringLiteral("pteDatZakljucka"))->clearValue();
    dispute.findChild<QLineEdit*>(QStringLiteral("eOpombe"))->setText(QStringLiteral("prva\vdruga"));
    dispute.btnZapisiClick();
    EXPECT_EQ(fixture.ui().messages().last(), QStringLiteral("Opomba: vrednost vsebuje nedovoljen kontrolni znak."));
    EXPECT_EQ(dispute.focusWidget(), dispute.findChild<QWidget*>(QStringLiteral("eOpombe")));
    EXPECT_NE(dispute.result(), QDialog::Accepted);
}

}  // namespace
