#include "app/widgets/GridColours.h"
#include "app/widgets/TfZTFI.h"

#include "core/ActionGuard.h"
#include "data/dataset/DatasetModel.h"
#include "instruments/InstrumentChoice.h"
#include "instruments/OverrideList.h"
#include "instruments/OverrideSync.h"
#include "instruments/widgets/TfFinInstrDlg.h"
#include "reporting/SelectionReturn.h"
#include "state/ZtfiApp.h"
#include "ui/RowColourModel.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

// The override list of the tab "Fin. instr.": reopened for the typed start of an ISIN after
// every key release in eISIN and whenever the tab is entered. Its zoom action chooses the
// reporting instrument of the current row; "Nazaj na nabor" resumes the stopped selection.
void TfZTFI::connectFinInstrTab()
{
    eISIN->installEventFilter(this);
    connect(dbgDPATVP_SFVP, &TFwwDBGrid::zoom, this, &TfZTFI::dbgDPATVP_SFVPZoom);
    connect(bNabor, &QPushButton::clicked, this, &TfZTFI::bNaborClick);
}

bool TfZTFI::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == eISIN && event->type() == QEvent::KeyRelease)
        runGuarded(app_.ui(), [this] { reopenOverrideList(); });
    return QMainWindow::eventFilter(watched, event);
}

void TfZTFI::reopenOverrideList()
{
    OverrideList& list = sharedOverrideList(app_);
    if (!overrideGridBound_) {
        auto* model = new DatasetModel(&list.query(), dbgDPATVP_SFVP);
        dbgDPATVP_SFVP->setModel(new RowColourModel(
            model, [&list](int row) { return gridColour(list.rowColour(row)); }, dbgDPATVP_SFVP));
        overrideGridBound_ = true;
    }
    list.open(eISIN->text());
}

void TfZTFI::applySelectionStop(const SelectionStop& stop)
{
    if (auto* active = pcMain->findChild<QWidget*>(stop.activeTab))
        pcMain->setCurrentWidget(active);
    for (const QString& name : stop.hiddenTabs) {
        if (auto* tab = pcMain->findChild<QWidget*>(name))
            pcMain->setTabVisible(pcMain->indexOf(tab), false);
    }
    if (stop.reopenOverrideList)
        reopenOverrideList();
    bNabor->setVisible(stop.returnButtonVisible);
}

void TfZTFI::dbgDPATVP_SFVPZoom()
{
    runGuarded(app_.ui(), [this] {
        OverrideList& list = sharedOverrideList(app_);
        TQueryDM& rows = list.query();
        const QModelIndex current = dbgDPATVP_SFVP->currentIndex();
        const int row = current.isValid() ? current.row() : rows.recNo();
        if (!rows.isActive() || row < 0 || row >= rows.recordCount())
            return;
        const OverrideRow chosenFor = OverrideRow::of(rows, row);
        InstrumentChoice choice(app_.connection(), app_.dialect(), app_.auditTrail(),
                                app_.params().auditUser);
        TfFinInstrDlg dialog(this);
        dialog.setOffer(choice.offer(chosenFor));
        if (dialog.exec() == QDialog::Accepted) {
            // A refused text or a failed write ends the action here with its message.
            choice.chooseText(chosenFor, dialog.chosenText(), dtpDanDo->asDate());
            reopenOverrideList();
        }
        bNabor->setVisible(list.returnButtonVisible());
        if (rows.isActive() && !rows.isEmpty())
            rows.first();
    });
}

void TfZTFI::bNaborClick()
{
    runGuarded(app_.ui(), [this] {
        // The tabs that the stop for the choice hid are shown again.
        for (int index = 0; index < pcMain->count(); ++index)
            pcMain->setTabVisible(index, true);
        pcMain->setCurrentWidget(tsNabor);
        bNabor->hide();
        bindSelectionGrids();
        bbGenXML->setEnabled(false);
        bbGenXML->setEnabled(
            SelectionReturn(app_, *selection_).bNaborClick(dtpDan->asDate(), dtpDanDo->asDate()));
    });
}
