#include "instruments/widgets/TfFinInstrDlg.h"

#include "app/widgets/TfZTFI.h"
#include "instruments/InstrumentChoice.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace fixture;

namespace {

const QDate kDay(2026, 3, 2);

template <typename T>
T* childOf(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

TEST(TfFinInstrDlgTest, ControlsShowTheOfferOfARow)
{
    TfFinInstrDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Finančni instrument"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
    EXPECT_EQ(childOf<QLabel>(&dialog, "lblISIN")->text(), QStringLiteral("ISIN"));
    EXPECT_EQ(childOf<QLabel>(&dialog, "lblSFVP")->text(), QStringLiteral("Interna ident. instrumetna"));
    EXPECT_EQ(childOf<QLabel>(&dialog, "lblNovSFVP")->text(), QStringLiteral("Nova interna ident. instrumenta"));
    auto* eISIN = childOf<QLineEdit>(&dialog, "eISIN");
    EXPECT_FALSE(eISIN->isEnabled());
    auto* cbSFVP = childOf<QComboBox>(&dialog, "cbSFVP");
    EXPECT_TRUE(cbSFVP->font().bold());
    auto* OKBtn = childOf<QPushButton>(&dialog, "OKBtn");
    EXPECT_EQ(OKBtn->text(), QStringLiteral("V redu"));
    EXPECT_TRUE(OKBtn->isDefault());
    EXPECT_EQ(childOf<QPushButton>(&dialog, "CancelBtn")->text(), QStringLiteral("Prekliči"));

    // A row that reports 1234: its item is the text, and the new identification is labelled.
    dialog.setOffer({QStringLiteral("SI0000000011"), {QStringLiteral("1234-XYZA"), QStringLiteral("1235-XYZB")}, 0, true});
    dialog.show();
    EXPECT_EQ(eISIN->text(), QStringLiteral("SI0000000011"));
    EXPECT_EQ(cbSFVP->count(), 2);
    EXPECT_EQ(dialog.chosenText(), QStringLiteral("1234-XYZA"));
    EXPECT_TRUE(childOf<QLabel>(&dialog, "lblSFVP")->isVisible());
    EXPECT_TRUE(childOf<QLabel>(&dialog, "lblNovSFVP")->isVisible());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    // A pending row: no text, and only the first label.
    dialog.setOffer({QStringLiteral("SI0000000011"), {QStringLiteral("1234-XYZA")}, -1, false});
    EXPECT_EQ(dialog.chosenText(), QString());
    EXPECT_FALSE(childOf<QLabel>(&dialog, "lblNovSFVP")->isVisible());
}

// The main window stopped for a choice between two live instruments of one ISIN; the rows are
// chosen through the dialog opened by the grid's zoom, then "Nazaj na nabor" resumes.
class FinInstrFlowTest : public testing::Test {
protected:
    FinInstrFlowTest() : fixture(db)
    {
        db.basics();
        db.instrument({}).listing({});
        db.instrument({.id = 2, .shortName = QStringLiteral("DELB")}).listing({.id = 2, .instrument = 2});
        db.trade({.id = 1, .day = kDay, .instrument = 1}).trade({.id = 2, .day = kDay, .instrument = 2});
        fixture.writeIni();
        window = std::make_unique<TfZTFI>(fixture.app());
    }

    template <typename T>
    T* child(const char* name)
    {
        return childOf<T>(window.get(), name);
    }

    // The zoom (Enter) on a row of the override grid; `answer` handles the dialog it opens.
    void zoom(int row, const std::function<void(TfFinInstrDlg&)>& answer)
    {
        auto* grid = child<TFwwDBGrid>("dbgDPATVP_SFVP");
        grid->setCurrentIndex(grid->model()->index(row, 0));
        bool answered = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<TfFinInstrDlg*>(QApplication::activeModalWidget())) {
                timer.stop();
                answered = true;
                answer(*dialog);
            }
        });
        timer.start(10);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(grid, &enter);
        EXPECT_TRUE(answered);
    }

    static void choose(TfFinInstrDlg& dialog, const QString& item)
    {
        auto* cbSFVP = childOf<QComboBox>(&dialog, "cbSFVP");
        cbSFVP->setCurrentIndex(cbSFVP->findText(item));
        childOf<QPushButton>(&dialog, "OKBtn")->click();
    }

    int pendingRows() { return db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVP_SFVP WHERE SFVP_POROCANJE IS NULL")).toInt(); }

    FixtureDb db;
    FixtureApp fixture;
    std::unique_ptr<TfZTFI> window;
};

TEST_F(FinInstrFlowTest, ZoomChoosesTheInstrumentAndTheReturnResumesTheSelection)
{
    child<TPTypedEdit>("dtpDan")->setAsDate(kDay);
    child<TPTypedEdit>("dtpDanDo")->setAsDate(kDay);
    child<QPushButton>("bbNabor")->click();
    auto* pcMain = child<QTabWidget>("pcMain");
    ASSERT_EQ(pcMain->currentWidget(), child<QWidget>("tsFinInstr"));
    auto* bNabor = child<QPushButton>("bNabor");
    ASSERT_EQ(child<TFwwDBGrid>("dbgDPATVP_SFVP")->model()->rowCount(), 2);

    // Cancel changes nothing.
    zoom(0, [](TfFinInstrDlg& dialog) {
        EXPECT_EQ(childOf<QLineEdit>(&dialog, "eISIN")->text(), QStringLiteral("SI0000000011"));
        EXPECT_EQ(childOf<QComboBox>(&dialog, "cbSFVP")->count(), 2);
        EXPECT_EQ(dialog.chosenText(), QString());
        childOf<QPushButton>(&dialog, "CancelBtn")->click();
    });
    EXPECT_EQ(pendingRows(), 2);
    EXPECT_TRUE(bNabor->isHidden());

    zoom(0, [](TfFinInstrDlg& dialog) { choose(dialog, QStringLiteral("1-DELA")); });
    EXPECT_EQ(pendingRows(), 1);
    EXPECT_TRUE(bNabor->isHidden());

    // The list keeps the pending row; it is the one to choose for next.
    auto* grid = child<TFwwDBGrid>("dbgDPATVP_SFVP");
    int pending = -1;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        if (grid->model()->index(row, 1).data().toString().isEmpty())
            pending = row;
    }
    ASSERT_GE(pending, 0);
    zoom(pending, [](TfFinInstrDlg& dialog) { choose(dialog, QStringLiteral("1-DELA")); });
    EXPECT_EQ(pendingRows(), 0);
    EXPECT_FALSE(bNabor->isHidden());
    EXPECT_EQ(fixture.ui().messages(), QStringList{QStringLiteral("Izberi ustrezen finančni instrument za poročanje!")});

    bNabor->click();
    EXPECT_EQ(pcMain->currentWidget(), child<QWidget>("tsNabor"));
    for (int index = 0; index < pcMain->count(); ++index)
        EXPECT_TRUE(pcMain->isTabVisible(index)) << index;
    EXPECT_TRUE(bNabor->isHidden());
    EXPECT_EQ(child<TFwwDBGrid>("dbgDPATVPPSL")->model()->rowCount(), 2);
    EXPECT_EQ(child<TFwwDBGrid>("dbSifrantFinInstr")->model()->rowCount(), 1);
    EXPECT_TRUE(child<QPushButton>("bbGenXML")->isEnabled());
    EXPECT_EQ(fixture.ui().messages().size(), 1);
}

}  // namespace
